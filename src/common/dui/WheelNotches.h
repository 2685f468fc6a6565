// Whole wheel notches out of wheel events. A classic wheel sends 120 per notch; high-resolution
// wheels and touchpads send fractions of that, which would each count as no notch at all. The
// fractions are kept here until they make up a notch.
#pragma once

namespace DUI {

class WheelNotches {
public:
    // Adds an angle delta (1/8 degree units, 120 a notch) and answers the notches completed,
    // negative downwards; the rest is kept for the next event.
    int Add(int angleDelta) {
        rest_ += angleDelta;
        const int notches = rest_ / kNotch;
        rest_ -= notches * kNotch;
        return notches;
    }

private:
    static constexpr int kNotch = 120;
    int rest_ = 0;
};

}  // namespace DUI
