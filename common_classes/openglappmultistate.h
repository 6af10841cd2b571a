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

    OpenglAppMultistate(const std::string& title, int width, int height, bool fullscreen);

    void currentState(State* next);
    State* currentState() const { return _currentState; }

    bool frame() override;
    bool message(HWND hwnd, unsigned int msg, unsigned int wParam, long lParam) override;

private:
    State* _currentState = nullptr;
    double _stateTime = 0;
};
