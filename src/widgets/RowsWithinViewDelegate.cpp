#include "widgets/RowsWithinViewDelegate.h"

QSize RowsWithinViewDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // A list view stretches its rows to its own width but never narrows a
    // row below what it asks for: asking for no width leaves the width to the
    // view, now and after every resize.
    return {1, QStyledItemDelegate::sizeHint(option, index).height()};
}
