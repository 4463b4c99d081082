#pragma once
// Item delegate for a one-column list view whose rows are exactly as wide as
// the view: a text too long for it is elided in the view's elide mode instead
// of running on past the right edge, where a scroll bar would hide the part
// that tells two rows apart.
#include <QStyledItemDelegate>

class RowsWithinViewDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
