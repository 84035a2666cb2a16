#include "pickers.h"

#include <QColorDialog>
#include <QFontDialog>
#include <deque>

namespace tarmel {
namespace {

std::deque<std::optional<QColor>>& colorAnswers()
{
    static std::deque<std::optional<QColor>> answers;
    return answers;
}

std::deque<std::optional<QFont>>& fontAnswers()
{
    static std::deque<std::optional<QFont>> answers;
    return answers;
}

} // namespace

void ColorPicker::answerNext(std::optional<QColor> answer)
{
    colorAnswers().push_back(std::move(answer));
}

bool ColorPicker::execute(QWidget* parent)
{
    std::optional<QColor> picked;
    if (!colorAnswers().empty()) {
        picked = colorAnswers().front();
        colorAnswers().pop_front();
    } else {
        const QColor chosen = QColorDialog::getColor(value, parent);
        if (chosen.isValid())
            picked = chosen;
    }
    if (!picked)
        return false;
    value = *picked;
    return true;
}

void FontPicker::answerNext(std::optional<QFont> answer)
{
    fontAnswers().push_back(std::move(answer));
}

bool FontPicker::execute(QWidget* parent)
{
    std::optional<QFont> picked;
    if (!fontAnswers().empty()) {
        picked = fontAnswers().front();
        fontAnswers().pop_front();
    } else {
        bool ok = false;
        QFont chosen = QFontDialog::getFont(&ok, value, parent);
        if (ok)
            picked = chosen;
    }
    if (!picked)
        return false;
    value = *picked;
    if (onlyEightPoint)
        value.setPointSize(8);
    return true;
}

} // namespace tarmel
