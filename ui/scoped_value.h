// A variable set for a scope: a flag raised while work runs, the node being
// filled, a replaced seam. The old value comes back when the scope ends, also
// on an exception, so nested scopes unwind in order.
#pragma once
#include <type_traits>
#include <utility>

namespace ui {

template <class T>
class ScopedValue {
public:
    ScopedValue(T& slot, std::type_identity_t<T> value) : slot_(slot), old_(std::exchange(slot, std::move(value))) {}
    ~ScopedValue() { slot_ = std::move(old_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& slot_;
    T old_;
};

} // namespace ui
