#pragma once
// The alarm's siren: the window plays its sound without waiting for it to end.
class AlarmSiren {
public:
    virtual ~AlarmSiren() = default;

    virtual void play() = 0;
};
