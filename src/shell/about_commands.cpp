#include "main_window.h"

#include "about_box.h"

#include <QScreen>

void TForm1::N12Click()
{
    Form3->Form1 = this;
    Form3->setOuterHeight(TForm3::kCollapsedHeight);
    if (const QScreen* desktop = screen()) {
        QRect place = Form3->frameGeometry();
        place.moveCenter(desktop->availableGeometry().center());
        Form3->move(place.topLeft());
    }
    openSecondary(Form3);
}
