#pragma once
// The alarm's siren: a rising and falling tone played without waiting for it
// to end. Where there is no audio device nothing is heard and nothing fails.
//
// A WAV resource ":/sounds/siren.wav" is played when the program carries one;
// otherwise the tone is made once and kept in a temporary file for the sound
// effect to read.
#include "notify/AlarmSiren.h"

#include <QByteArray>
#include <QObject>
#include <memory>

class QSoundEffect;
class QTemporaryFile;

class SirenPlayer : public QObject, public AlarmSiren {
    Q_OBJECT
public:
    explicit SirenPlayer(QObject *parent = nullptr);
    ~SirenPlayer() override;

    void play() override;

    // The made tone as a complete WAV file (16-bit mono PCM).
    static QByteArray sirenWave(int sampleRate = 22050, double seconds = 2.0);

private:
    QSoundEffect *m_effect = nullptr;
    std::unique_ptr<QTemporaryFile> m_file;
};
