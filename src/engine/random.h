#pragma once

#include <random>

namespace tarmel {

// The program's source of chance. Tests give a scripted sequence of draws.
class Random {
public:
    virtual ~Random() = default;
    // A whole number 0 ... n-1, drawn uniformly; 0 for n <= 0.
    virtual int draw(int n) = 0;
    // Seeds the generator anew from the clock.
    virtual void reseed() = 0;
};

class ClockSeededRandom : public Random {
public:
    ClockSeededRandom();
    int draw(int n) override;
    void reseed() override;

private:
    std::mt19937 engine_;
};

} // namespace tarmel
