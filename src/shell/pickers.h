#pragma once

#include <QColor>
#include <QFont>
#include <optional>

class QWidget;

namespace tarmel {

// A colour picker that also stores its colour. Tests set the answer of the
// next pick in advance instead of opening a dialog.
class ColorPicker {
public:
    QColor value = Qt::black;

    // Opens the picker starting from value; true and value updated when the
    // user confirms.
    bool execute(QWidget* parent);
    // The answer of the next execute(): a colour (confirmed) or nullopt
    // (cancelled).
    static void answerNext(std::optional<QColor> answer);
};

// A font picker that also stores its font.
class FontPicker {
public:
    QFont value;
    bool onlyEightPoint = false; // offers the size 8 pt alone

    bool execute(QWidget* parent);
    static void answerNext(std::optional<QFont> answer);
};

} // namespace tarmel
