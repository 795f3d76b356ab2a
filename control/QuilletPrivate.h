#pragma once
// The component's own members. It has none yet: a listing's state belongs to
// the process, not to one widget. Members added here later leave the size of
// the public class, and so the programs built against it, unchanged.

namespace quillet {

class QuilletPrivate {};

} // namespace quillet
