#pragma once
// An application whose frames and window messages belong to one current state.
#include "common_classes/openglapp.h"

class OpenglAppMultistate : public OpenglApp {
public:
    class State {
    public:
        virtual void onEnter() {}
        virtual void onExit() {}
        // Draws one frame; false ends the program. The default clears to red.
        virtual bool frame();
        virtual bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam);

        double time;
        double dt;

    protected:
        ~State() = default;
    };

    // Sees what the states are given, for a recording of a state's run. Every call comes
    // with the state concerned.
    class Observer {
    public:
        virtual ~Observer() = default;
        // The state is about to enter (before its onEnter), or has left (after its onExit).
        virtual void entering(State*) {}
        virtual void left(State*) {}
        // A message about to reach the state.
        virtual void message(State*, unsigned int /*msg*/, unsigned int /*wParam*/,
                             long /*lParam*/) {}
        // A frame of the state about to run with this step, and the same frame done (the
        // state may have left during it).
        virtual void frameStarting(State*, double /*dt*/) {}
        virtual void frameDone(State*) {}
    };

    OpenglAppMultistate(const std::string& title, int width, int height, bool fullscreen);

    // One observer (not owned) at a time; null for none.
    void observer(Observer* observer) { _observer = observer; }
    Observer* observer() const { return _observer; }

    void currentState(State* next);
    State* currentState() const { return _currentState; }

    bool frame() override;
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override;

private:
    State* _currentState = nullptr;
    double _stateTime = 0;
    Observer* _observer = nullptr;
};
