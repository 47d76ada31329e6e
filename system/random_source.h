#pragma once
// The program's one random generator, behind an interface that tests replace.

namespace desk {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seed(double seed) = 0;
    // The next number r, 0 <= r < 1, in single precision.
    virtual float next() = 0;
};

class StandardRandom : public RandomSource {
public:
    void seed(double seed) override;
    float next() override;

private:
    unsigned long long state_ = 0x853C49E6748FEA9BULL;
};

} // namespace desk
