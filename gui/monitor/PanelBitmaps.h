#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>

namespace lumetra::gui {

// The named bitmaps of the front-panel drawing (IMAGE_0 ... IMAGE_WEEK_1010101,
// the start/stop/return buttons), drawn from code with a liquid-crystal look
// at their stated sizes, made once and kept. Names match in any case.
class PanelBitmaps {
public:
    // The bitmap of a name; a null pixmap when no bitmap has that name.
    const QPixmap& bitmap(const QString& name);
    int cached() const { return static_cast<int>(m_cache.size()); }

private:
    QHash<QString, QPixmap> m_cache;
};

// Draws one bitmap (no cache); null for an unknown name.
QPixmap drawPanelBitmap(const QString& upperName);

} // namespace lumetra::gui
