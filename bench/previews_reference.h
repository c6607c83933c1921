// The timer procedure the previews were first designed with, kept only as the
// bench's reference: three passes per tick, each one jiffy, with waits of
// about 17 ms between them (SleepEx), stepping on pass counts.
#pragma once
#include "app/ufrmMain.h"

#include <vector>

class ReferenceAnimation {
public:
    explicit ReferenceAnimation(TfrmTarimoku& form) : form_(form) {}
    // One timer tick. Answers the steps that began and were drawn.
    int Tick();
    // Steps that began, per entry, since the start.
    const std::vector<long long>& Advanced() const { return advanced_; }

private:
    TfrmTarimoku& form_;
    std::vector<int> passes_;       // passes counted in the current step
    std::vector<long long> advanced_;
};
