// The pages of a page store as a PDF file, each on A4 paper of its own
// orientation.
#pragma once

#include <QString>

class TPageStore;

// Writes through a temporary file that replaces `file` only once complete.
// Failures are EInOutError with a Spanish message; the old file stays.
void Write_Pdf(const TPageStore &store, const QString &file);
