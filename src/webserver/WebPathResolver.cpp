#include "webserver/WebPathResolver.h"

#include <QFile>
#include <deque>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Parts = std::vector<QByteArray>;

// Linux gives up after 40 links in one lookup; so do we.
constexpr int kMaxLinks = 40;

Parts split(const QByteArray &path)
{
    Parts parts;
    for (const QByteArray &c : path.split('/'))
        if (!c.isEmpty())
            parts.push_back(c);
    return parts;
}

QByteArray join(const Parts &parts)
{
    QByteArray path;
    for (const QByteArray &c : parts)
        path += '/' + c;
    return path.isEmpty() ? QByteArray("/") : path;
}

// a is b or one of b's ancestors.
bool isPrefix(const Parts &a, const Parts &b)
{
    if (a.size() > b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

bool readLink(const QByteArray &path, QByteArray *target)
{
    QByteArray buf(4096, Qt::Uninitialized);
    const ssize_t n = ::readlink(path.constData(), buf.data(), size_t(buf.size()));
    if (n <= 0 || n >= buf.size())
        return false;
    *target = buf.left(n);
    return true;
}

} // namespace

WebPathResolver::Result WebPathResolver::resolve(const QString &canonicalRoot, const QString &document)
{
    Result outside;
    if (!canonicalRoot.startsWith(QLatin1Char('/')) || !document.startsWith(QLatin1Char('/'))
        || document.contains(QChar(0)))
        return outside;
    const Parts root = split(QFile::encodeName(canonicalRoot));

    // Written steps that climb above the root are refused without touching the disk.
    std::deque<QByteArray> pending;
    for (const QByteArray &c : QFile::encodeName(document).split('/')) {
        if (c.isEmpty() || c == ".")
            continue;
        if (c == "..") {
            if (pending.empty())
                return outside;
            pending.pop_back();
            continue;
        }
        pending.push_back(c);
    }

    // Links may lead anywhere: every step must stay below the root, or on the
    // root's own ancestors (a link may climb and come back down).
    Parts cur = root;
    bool missing = false;
    int links = 0;
    while (!pending.empty()) {
        const QByteArray c = pending.front();
        pending.pop_front();
        if (c.isEmpty() || c == ".")
            continue;
        if (c == "..") {
            if (!cur.empty())
                cur.pop_back();
            continue; // the parent of a step on the way is itself on the way
        }
        cur.push_back(c);
        if (!isPrefix(root, cur) && !isPrefix(cur, root))
            return outside;
        if (missing)
            continue;
        const QByteArray path = join(cur);
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) {
            missing = true;
            continue;
        }
        if (!S_ISLNK(st.st_mode))
            continue;
        QByteArray target;
        if (++links > kMaxLinks || !readLink(path, &target))
            return outside;
        cur.pop_back();
        if (target.startsWith('/'))
            cur.clear();
        const QList<QByteArray> steps = target.split('/');
        for (auto it = steps.crbegin(); it != steps.crend(); ++it)
            pending.push_front(*it);
    }
    if (!isPrefix(root, cur))
        return outside;

    Result r;
    r.inside = true;
    r.path = QFile::decodeName(join(cur));
    r.exists = !missing;
    r.isRoot = cur.size() == root.size();
    r.inRootFolder = cur.size() == root.size() + 1;
    return r;
}
