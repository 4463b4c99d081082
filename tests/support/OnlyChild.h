#pragma once
// A window's part reached the plain way, as the one child object of its type,
// so tests need no accessor on the window for it.
#include <QObject>
#include <gtest/gtest.h>

namespace testsupport {

// The window's own T: its one direct child of that type, or else the one
// below it at any depth. Fails the test when neither is unique.
template <typename T>
T *onlyChild(const QObject &parent)
{
    QList<T *> found = parent.findChildren<T *>(Qt::FindDirectChildrenOnly);
    if (found.size() != 1)
        found = parent.findChildren<T *>();
    if (found.size() != 1)
        ADD_FAILURE() << "expected one " << T::staticMetaObject.className() << " under "
                      << parent.metaObject()->className() << ", found " << found.size();
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace testsupport
