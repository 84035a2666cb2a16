#include "sound.h"

#include "errors.h"
#include "paths.h"

#include <QSoundEffect>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace tarmel {

SoundPlayer::SoundPlayer(const QString& name, QObject* parent) : QObject(parent)
{
    const std::filesystem::path path = resolvePath(name.toStdString());
    std::ifstream probe(path, std::ios::binary);
    if (!probe || std::filesystem::is_directory(path))
        throw Error("Не удалось открыть звуковой файл «" + name.toStdString() +
                    "»: " + std::strerror(errno ? errno : ENOENT));
    // Without sound the program runs just the same.
    if (qEnvironmentVariableIsSet("TARMEL_NO_SOUND"))
        return;
    effect_ = new QSoundEffect(this);
    effect_->setSource(
        QUrl::fromLocalFile(QString::fromStdString(std::filesystem::absolute(path))));
}

void SoundPlayer::play()
{
    ++plays_;
    if (effect_ && !effect_->isPlaying())
        effect_->play();
}

} // namespace tarmel
