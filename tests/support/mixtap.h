#pragma once
// Listens to the mixer's final output while it lives, to tell whether anything
// sounded. The mixer must be open (Sound::setupFmodSound) before the tap is made.
#include <atomic>

namespace TestSupport {

class MixTap {
public:
    MixTap();
    ~MixTap();
    MixTap(const MixTap&) = delete;
    MixTap& operator=(const MixTap&) = delete;

    // Waits up to `seconds` for a mixed sample louder than `threshold`.
    bool hearsSoundWithin(double seconds, int threshold = 64);
    // The loudest sample mixed during the next `seconds`.
    int loudestOver(double seconds);
    // Waits up to `seconds` for a tenth of a second of silence. Music reaches the
    // mix through buffers, so a change of its volume is heard only after a while.
    bool fallsSilentWithin(double seconds);

    // Called on the mixer's thread with every mixed buffer.
    void listen(const void* stream, int bytes);

private:
    std::atomic<int> _loudest{0};
};

} // namespace TestSupport
