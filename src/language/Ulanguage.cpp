#include "language/Ulanguage.h"

namespace zmt {

TFS::TFS(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FS"));
    setWindowTitle(QStringLiteral("FS"));
}

}  // namespace zmt

#include "moc_Ulanguage.cpp"
