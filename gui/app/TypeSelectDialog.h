#pragma once

#include "AppContext.h"

#include "model/MachineType.h"

#include <QDialog>

#include <optional>

class QRadioButton;

namespace lumetra::gui {

// frmMacTypeSel: the four machine types, the second one preselected.
class TypeSelectDialog : public QDialog {
    Q_OBJECT
public:
    TypeSelectDialog(const AppContext& ctx, QWidget* parent);
    // The chosen type after OK; nothing after Cancel.
    std::optional<MachineType> chosen() const { return m_chosen; }

private:
    QRadioButton* m_options[4];
    std::optional<MachineType> m_chosen;
};

} // namespace lumetra::gui
