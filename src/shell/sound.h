#pragma once

#include <QObject>
#include <QString>

class QSoundEffect;

namespace tarmel {

// A sound player opened once on its wave file. Playing a sound that still
// plays does not restart it; a finished one starts again from the beginning.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    // Error naming the file when it cannot be opened for reading.
    SoundPlayer(const QString& name, QObject* parent);
    void play();

    int plays() const { return plays_; } // how often play() was asked for

private:
    QSoundEffect* effect_ = nullptr;
    int plays_ = 0;
};

} // namespace tarmel
