// The changes of the pointers made in this session, taken back one by one
// (編集 > 元に戻す, Ctrl+Z). Whoever changes the pointers (a role chosen or
// given back, a scheme applied, a pack installed, a set applied) calls
// Remember just before; Undo stores the pointers as they were then, all at
// once.
#pragma once
#include "scheme/pointer_snapshot.h"

#include <cstddef>
#include <functional>
#include <vector>

class PointerHistory {
public:
    using Reader = std::function<scheme::PointerSnapshot()>;
    using Writer = std::function<bool(const scheme::PointerSnapshot&)>;

    // The registry's own reading and writing unless a test gives others.
    explicit PointerHistory(Reader read = scheme::ReadPointerSnapshot, Writer write = scheme::WritePointerSnapshot);

    // Keeps the pointers as they are now, before a change. A change that
    // then changed nothing (refused, cancelled) leaves no step to take back.
    void Remember();

    // Whether a step differs from the pointers as they are now.
    bool CanUndo() const;

    enum class Undone {
        Nothing,             // no step to take back
        Applied,             // stored and in effect
        StoredForNextSignIn, // stored; the system did not reload its cursors
    };
    // Stores the pointers as they were before the last change that changed
    // them. Throws ERegistryError when they cannot be stored (the step is
    // kept, the pointers stay as they were).
    Undone Undo();

    // The steps kept at most; the oldest go first.
    static constexpr std::size_t kMaxSteps = 100;

private:
    // Drops the last steps that equal the pointers now.
    void DropUnchanged(const scheme::PointerSnapshot& now);

    Reader read_;
    Writer write_;
    std::vector<scheme::PointerSnapshot> steps_;
};
