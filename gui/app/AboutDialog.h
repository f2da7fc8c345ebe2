#pragma once

#include "AppContext.h"

#include <QDialog>

namespace lumetra::gui {

// frmAbout: the version of the application.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const AppContext& ctx, QWidget* parent);
};

// "Version : 1 . 0 . 4" for the project version 1.0.4
QString versionText();

} // namespace lumetra::gui
