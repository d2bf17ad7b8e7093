// Output files written whole or not at all.
#pragma once

#include <QString>

#include <cstdio>
#include <functional>

// Hands `write` a stream on a new temporary file beside `target`. When `write` returns true and
// every buffered byte reaches the file (flush and close checked), the file is moved over
// `target` in one step, keeping an existing target's permission bits. Otherwise the temporary
// file is removed and an existing target stays as it was. True when `target` was replaced.
bool writeReplacing(const QString& target, const std::function<bool(FILE*)>& write);
