#pragma once

#include "AppContext.h"

#include "PanelBitmaps.h"

#include "transfer/TransferRun.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace lumetra::gui {

class EditorWindow;

// frmMDI: the main window with the menus, the tool bar, the four-panel
// status bar and the editor and monitor windows of one unit.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppContext& ctx, std::string helpFolder);

    QLabel* const (&statusPanels() const)[4] { return m_panels; }
    // Opens the file named by a command line ending in ".zqs" (any case).
    void openFromCommandLine(const QString& commandLine);

    void newSetting();
    void openSetting(const std::optional<std::string>& path = std::nullopt);
    void upload();
    int runTransfer(OperationKind kind, TransferTarget target);
    void showMonitor();
    void showCommSetup();
    void showHelp();
    void showAbout();
    void editorClosed();
    void showFlags();
    // Shows the editor of the document the context holds.
    void openEditor();

    // The tool bar's button of a key ("New", "Save", "KP" ...).
    QAction* toolButton(const QString& key) const;
    EditorWindow* editor() const;
    // The help file the help command opens for a language id.
    std::string helpFile(int languageId) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void toolBarClicked(const QString& key);
    void setEditorButtonsVisible(bool visible);
    // Gives a child window its preferred size, or the room there is.
    void placeChild(QMdiSubWindow* sub, QSize preferred);

    AppContext& m_ctx;
    std::string m_helpFolder;
    QMdiArea* m_mdi;
    QToolBar* m_toolBar;
    QLabel* m_panels[4];
    QPointer<EditorWindow> m_editor;
    PanelBitmaps m_bitmaps;
};

} // namespace lumetra::gui
