#include "mainwindow/player_choices.h"

#include <QSettings>

#include "engine/game.h"

namespace stonerush {

namespace {

const char* const zoomKey = "zoom";
const char* const soundKey = "sound";
const char* const musicKey = "music";
const char* const speedKey = "startingSpeed";

QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("stonerush"),
                     QStringLiteral("stonerush"));
}

std::optional<int> keptNumber(const QSettings& kept, const char* key, int lowest, int highest) {
    bool ok = false;
    const int value = kept.value(QLatin1String(key)).toInt(&ok);
    if (!ok || value < lowest || value > highest) return std::nullopt;
    return value;
}

bool keptSwitch(const QSettings& kept, const char* key) {
    const QVariant value = kept.value(QLatin1String(key));
    return !value.isValid() || value.toBool();
}

void keep(const char* key, const QVariant& value) {
    settings().setValue(QLatin1String(key), value);
}

}  // namespace

PlayerChoices PlayerChoices::kept() {
    const QSettings kept = settings();
    PlayerChoices choices;
    choices.zoomStep = keptNumber(kept, zoomKey, 1, 1000);
    choices.soundOn = keptSwitch(kept, soundKey);
    choices.musicOn = keptSwitch(kept, musicKey);
    choices.startingSpeed = keptNumber(kept, speedKey, 0, maxStartingSpeed).value_or(0);
    return choices;
}

void PlayerChoices::keepZoomStep(int step) {
    keep(zoomKey, step);
}

void PlayerChoices::keepSoundOn(bool on) {
    keep(soundKey, on);
}

void PlayerChoices::keepMusicOn(bool on) {
    keep(musicKey, on);
}

void PlayerChoices::keepStartingSpeed(int speed) {
    keep(speedKey, speed);
}

}  // namespace stonerush
