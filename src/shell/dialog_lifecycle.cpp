#include "main_window.h"

#include "phrase_base.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

// Loading report: the base is read and counted while the input waits.
void TForm1::T3Timer()
{
    SB1Panel[0]->setText(QStringLiteral("Идёт загрузка подождите..."));
    Input->setReadOnly(true);
    Speak->setEnabled(false);
    engine.LoadList(tarmel::files::kWords);
    const tarmel::TableCounts counts = tarmel::CountTable(engine.RE2.lines());
    SB1Panel[1]->setText(QStringLiteral("Программе известно:   [главные фразы - %1   ветки - %2]")
                             .arg(counts.mainPhrases)
                             .arg(counts.branches));
    Input->setReadOnly(false);
    Speak->setEnabled(true);
    SB1Panel[0]->setText(QStringLiteral("Загрузка окончена"));
    T3->stop();
}

void TForm1::T12Timer()
{
    T12->stop();
}

void TForm1::T8Timer()
{
    T8->stop();
}

void TForm1::N2Click() {}
void TForm1::CancelClick() {}
void TForm1::N3Click() {}
void TForm1::N4Click() {}
