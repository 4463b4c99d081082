#pragma once
// VELTRANO_TRACE=FILE appends one line per system message, caption change,
// status-bar panel change and message box, so black-box tests can follow the
// program without reading pixels. Safe from any thread.
#include <QString>

namespace trace {

bool enabled();

// kind: "msg", "caption", "status0".."status3", "box" and the like.
void write(const QString &kind, const QString &text);

} // namespace trace
