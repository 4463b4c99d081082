#include "mainwindow/SirenPlayer.h"

#include <QDir>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryFile>
#include <QUrl>
#include <QtEndian>
#include <cmath>

namespace {

void putLe32(QByteArray &b, quint32 v)
{
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}

void putLe16(QByteArray &b, quint16 v)
{
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}

} // namespace

SirenPlayer::SirenPlayer(QObject *parent) : QObject(parent) {}

SirenPlayer::~SirenPlayer() = default;

QByteArray SirenPlayer::sirenWave(int sampleRate, double seconds)
{
    const int count = int(sampleRate * seconds);
    QByteArray pcm;
    pcm.reserve(count * 2);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / sampleRate;
        // Up and down between 600 and 1200 Hz once a second.
        const double sweep = std::fabs(std::fmod(t, 1.0) * 2.0 - 1.0);
        const double frequency = 1200.0 - 600.0 * sweep;
        phase += 2.0 * M_PI * frequency / sampleRate;
        putLe16(pcm, quint16(qint16(std::sin(phase) * 16000.0)));
    }
    QByteArray wav("RIFF");
    putLe32(wav, quint32(36 + pcm.size()));
    wav += "WAVEfmt ";
    putLe32(wav, 16);
    putLe16(wav, 1); // PCM
    putLe16(wav, 1); // mono
    putLe32(wav, quint32(sampleRate));
    putLe32(wav, quint32(sampleRate * 2));
    putLe16(wav, 2);
    putLe16(wav, 16);
    wav += "data";
    putLe32(wav, quint32(pcm.size()));
    return wav + pcm;
}

void SirenPlayer::play()
{
    if (!m_effect) {
        QUrl source;
        if (QFile::exists(QStringLiteral(":/sounds/siren.wav"))) {
            source = QUrl(QStringLiteral("qrc:/sounds/siren.wav"));
        } else {
            m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/veltrano-siren-XXXXXX.wav"));
            const QByteArray wave = sirenWave();
            if (!m_file->open() || m_file->write(wave) != wave.size() || !m_file->flush())
                return;
            source = QUrl::fromLocalFile(m_file->fileName());
        }
        m_effect = new QSoundEffect(this);
        m_effect->setSource(source);
    }
    // A siren still sounding starts again from its beginning.
    m_effect->stop();
    m_effect->play();
}
