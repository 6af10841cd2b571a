#include "common_classes/timer.h"

#include "common_classes/platform/platform.h"

double Timer::frequency = 1;
bool Timer::pausedGlobal = false;
double Timer::globalUnpauseTime = 0;

Timer::Timer() {
    frequency = double(Platform::performanceFrequency());
    lastTime = getTime();
}

double Timer::getTime() {
    return double(Platform::performanceCounter()) / frequency;
}

void Timer::tick() {
    // Time spent in a global pause is skipped.
    if (globalUnpauseTime > lastTime) lastTime = globalUnpauseTime;
    double now = getTime();
    if (!paused && !pausedGlobal) {
        dt = lastTime > now ? now : now - lastTime;
        elapsedTime += dt;
    } else {
        dt = 0;
    }
    lastTime = now;
}

void Timer::reset(double t) {
    dt = 0;
    lastTime = getTime();
    elapsedTime = t;
    paused = false;
}

void Timer::pause(bool p) {
    paused = p;
    if (!p) lastTime = getTime();
}

void Timer::pauseAll(bool p) {
    pausedGlobal = p;
    if (!p) globalUnpauseTime = getTime();
}
