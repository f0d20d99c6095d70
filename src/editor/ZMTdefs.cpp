#include "editor/ZMTdefs.h"

namespace zmt {

TForm3::TForm3(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Form3");
    setWindowTitle("Form3");
}

}  // namespace zmt

#include "moc_ZMTdefs.cpp"
