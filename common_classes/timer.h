#pragma once
// Real-time clock in seconds that yields the frame step of the main loop.

class Timer {
public:
    Timer();

    // Measures one step since the previous tick (0 while paused).
    void tick();
    double deltaTime() const { return dt; }
    double totalTime() const { return elapsedTime; }
    void reset(double t);

    void pause(bool p);
    bool pause() const { return paused; }
    static void pauseAll(bool p);
    static bool pauseAll() { return pausedGlobal; }

private:
    static double getTime();

    double dt = 0;
    double elapsedTime = 0;
    double lastTime = 0;
    bool paused = false;

    static double frequency;
    static bool pausedGlobal;
    static double globalUnpauseTime;
};
