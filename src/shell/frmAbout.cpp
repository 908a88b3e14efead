#include "shell/frmAbout.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace trelvik {

frmAbout::frmAbout(QWidget* parent) : QWidget(parent) {
    setWindowTitle("About");
    Label1 = new QLabel("The Trelvik", this);
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    Label1->setFont(big);
    Label2 = new QLabel("Works on three-dimensional surface data of teeth within the "
                        "mapping program Surfer.", this);
    Label2->setWordWrap(true);
    Label3 = new QLabel("Version 3.0", this);
    Label5 = new QLabel(createdText(QCoreApplication::applicationFilePath()), this);
    Command1 = new QPushButton("OK", this);
    Command1->setDefault(true);

    auto* box = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label5)})
        box->addWidget(w, 0, Qt::AlignHCenter);
    box->addWidget(Command1, 0, Qt::AlignHCenter);

    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
}

void frmAbout::Command1_Click() {
    close();
}

QString frmAbout::createdText(const QString& executable) {
    const QFileInfo info(executable);
    if (!info.exists()) return QStringLiteral("Created: ");
    const QDateTime t = info.lastModified();
    const QLocale locale;
    return QStringLiteral("Created: ") + locale.toString(t.date(), QLocale::ShortFormat) +
           ' ' + t.time().toString(QStringLiteral("HH:mm:ss"));
}

} // namespace trelvik
