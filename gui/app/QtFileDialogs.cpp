#include "QtFileDialogs.h"

#include <QFileDialog>
#include <QString>

namespace lumetra::gui {

namespace {
// "zqs(*.zqs)|*.zqs" → "zqs(*.zqs)": the description carries the pattern.
QString filterOf(const std::string& filter) { return QString::fromStdString(filter.substr(0, filter.find('|'))); }
} // namespace

std::optional<std::string> QtFileDialogs::chooseOpen(const DialogSpec& spec)
{
    const QString path = QFileDialog::getOpenFileName(m_parent, QString::fromStdString(spec.title),
                                                      QString::fromStdString(spec.initialFolder), filterOf(spec.filter), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> QtFileDialogs::chooseSave(const DialogSpec& spec)
{
    // The replace question is the system's own, so the dialog asks none.
    const QString start = QString::fromStdString(spec.initialFolder + (spec.initialName.empty() ? "" : "/" + spec.initialName));
    const QString path = QFileDialog::getSaveFileName(m_parent, QString::fromStdString(spec.title), start, filterOf(spec.filter), nullptr,
                                                      QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return std::nullopt;
    std::string chosen = path.toStdString();
    const std::string extension = spec.filter.substr(spec.filter.rfind('.'));
    if (chosen.size() < extension.size() || chosen.compare(chosen.size() - extension.size(), extension.size(), extension) != 0)
        chosen += extension; // the dialog's filter names the extension
    return chosen;
}

} // namespace lumetra::gui
