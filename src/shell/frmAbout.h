#pragma once
// "About": the program's name, what it is for, its version and when the
// executable was built (its modification time).
#include <QWidget>

class QLabel;
class QPushButton;

namespace trelvik {

class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label5;
    QPushButton* Command1;

    void Command1_Click();

    // "Created: " and the modification time of executable, date and time in the
    // system's short date form and 24-hour time.
    static QString createdText(const QString& executable);
};

} // namespace trelvik
