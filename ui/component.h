// Components, the links between them, and events.
//
// A component is owned by whoever holds it (a form keeps its components as
// members, so they go with it). Components point at each other through
// Link<T>: a non-owning pointer that becomes empty by itself when the linked
// component is destroyed, so no component is left pointing at a freed one.
#pragma once
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace ui {

class LinkBase;

class Component {
public:
    Component() = default;
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

private:
    friend class LinkBase;
    std::vector<LinkBase*> links_;
};

class LinkBase {
protected:
    LinkBase() = default;
    ~LinkBase() { Attach(nullptr); }
    void Attach(Component* target)
    {
        if (target_ == target)
            return;
        if (target_) {
            auto& v = target_->links_;
            v.erase(std::remove(v.begin(), v.end(), this), v.end());
        }
        target_ = target;
        if (target_)
            target_->links_.push_back(this);
    }
    Component* target_ = nullptr;

private:
    friend class Component;
    // The linked component is going away.
    void Removed()
    {
        target_ = nullptr;
        if (onRemoved_)
            onRemoved_();
    }

protected:
    std::function<void()> onRemoved_;
};

inline Component::~Component()
{
    // Each link clears itself; copy first, since a handler may touch the list.
    auto links = std::move(links_);
    for (LinkBase* l : links)
        l->Removed();
}

// A link to another component; empty when it was never set or when the
// linked component has been destroyed.
template <class T>
class Link : public LinkBase {
public:
    Link() = default;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
    Link& operator=(T* target)
    {
        Attach(target);
        return *this;
    }
    T* get() const noexcept { return static_cast<T*>(target_); }
    T* operator->() const noexcept { return get(); }
    explicit operator bool() const noexcept { return target_ != nullptr; }
    // Runs when the linked component is destroyed (after the link is empty).
    void OnRemoved(std::function<void()> f) { onRemoved_ = std::move(f); }
};

// An event: a callable bound to its receiver, tested for being set before
// every call. The sender always comes first.
template <class... Args>
class Event {
public:
    Event() = default;
    Event& operator=(std::function<void(Args...)> f)
    {
        f_ = std::move(f);
        return *this;
    }
    Event& operator=(std::nullptr_t)
    {
        f_ = nullptr;
        return *this;
    }
    explicit operator bool() const noexcept { return static_cast<bool>(f_); }
    void operator()(Args... args) const
    {
        if (f_)
            f_(std::forward<Args>(args)...);
    }

private:
    std::function<void(Args...)> f_;
};

// Binds a member function to its receiver for use as an event handler.
template <class R, class C, class... Args>
std::function<R(Args...)> Bind(C* receiver, R (C::*method)(Args...))
{
    return [receiver, method](Args... args) -> R { return (receiver->*method)(std::forward<Args>(args)...); };
}

} // namespace ui
