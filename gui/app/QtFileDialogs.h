#pragma once

#include "files/FileCommands.h"

class QWidget;

namespace lumetra::gui {

// The common file dialog of the desktop.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    std::optional<std::string> chooseOpen(const DialogSpec& spec) override;
    std::optional<std::string> chooseSave(const DialogSpec& spec) override;

private:
    QWidget* m_parent;
};

} // namespace lumetra::gui
