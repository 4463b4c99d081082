#pragma once
// Maps a request's document path onto the served folder. The walk works on
// path components compared byte for byte (case-sensitively) with the root's,
// and follows symbolic links one at a time, so a path that leaves the root by
// "..", by a link or by a link's target is known to be outside before anything
// outside the root is looked at.
#include <QString>

class WebPathResolver {
public:
    struct Result {
        bool inside = false;       // false: the path leaves the root (or cannot be told)
        QString path;              // link-free absolute path; past a missing part, taken as written
        bool exists = false;       // every component of path exists
        bool isRoot = false;       // the root folder itself
        bool inRootFolder = false; // directly in the root folder, not below one of its subfolders
    };

    // canonicalRoot: the served folder's canonical path (absolute, no links).
    // document: the request's decoded path, starting with "/".
    static Result resolve(const QString &canonicalRoot, const QString &document);
};
