#pragma once
// "The Trelvik": the main window and hub of the run. Its menus open the tool windows
// (one instance each, kept in windows()), its topic labels describe the areas of
// the program, its version items choose the Surfer version and store it in the
// settings file, and its "Use Surfer PID" box and text are mirrored into AppState
// for the report capture.
//
// Tool windows plug in from outside with setWindowFactory("frmCuspVol", ...): the
// menu items that open that window are enabled from then on; items whose window has
// no builder stay disabled.
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <vector>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/windowregistry.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;

namespace trelvik {

class ClickLabel;

class frmStartup : public QMainWindow {
    Q_OBJECT
public:
    // Expects the settings already loaded into state (DefaultDir, SurferVersion).
    frmStartup(AppState& state, Prompt& prompt, QWidget* parent = nullptr);
    ~frmStartup() override;

    WindowRegistry& windows() { return windows_; }
    // Registers the builder of a tool window and enables the menu items opening it.
    void setWindowFactory(const QString& windowName, WindowRegistry::Factory make);
    // The window a menu item opens (empty for items that open none).
    QString windowOf(const QAction* item) const { return menuWindows_.value(item); }

    // Menu headings and the version submenu.
    QMenu *mnuFile, *mnuSurfVers, *mnuUtilities, *mnuToothFeat, *mnuOutlines, *mnuPlane,
        *mnuTransform, *mnuLandmarks, *mnuHelp;
    // Menu items.
    QAction *mnuNew, *mnuDefDir, *mnuSurf6, *mnuSurf8, *mnuStartSurfer, *mnuExit;
    QAction *mnuConversion, *mnuSurfFns, *mnuCSVView, *mnuPtCloud;
    QAction *mnuAppAng, *mnuCapture, *mnuCurvSlice, *mnuCuspOR, *mnuCuspVol, *mnuRake;
    QAction *mnuEnamel, *mnuPlaneFit, *mnuRotate, *mnuLandFind, *mnuAbout;

    ClickLabel* Label2;
    ClickLabel *lblConversion, *lblTooth, *lblPlane, *lblLandmark, *lblOutlines, *lblTransform;
    QLabel* Label1;
    QLabel* lblDescrip;
    QCheckBox* chkSurferPID;
    QLineEdit* txtSurferPID;
    QFrame *Line1, *Line2, *Line3, *Line4;

    void Label2_Click();
    void mnuNew_Click();
    void mnuSurf6_Click();
    void mnuSurf8_Click();
    void mnuExit_Click();
    void mnuStartSurfer_Click();

    // The description shown for each topic label.
    static QString descriptionOf(const QString& topic);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildMenus();
    void buildTopics();
    void Form_Load();
    void ResetDescriptionLabels();
    void showTopic(ClickLabel* label);
    void chooseVersion(bool six);
    QAction* toolItem(QMenu* menu, const QString& caption, const QString& window);

    AppState& state_;
    Prompt& prompt_;
    WindowRegistry windows_;
    QHash<const QAction*, QString> menuWindows_;
    std::vector<ClickLabel*> topics_;
};

} // namespace trelvik
