#pragma once

#include <QStringList>

namespace library {

/// The extensions Varlo lists when the caller names none.
const QStringList& audioExtensions();

/// The files in `folder` (and its subfolders when `recursive`) whose extension, in any case,
/// is one of `extensions`; sorted by path. Names beginning with '.' are skipped and symbolic
/// links to folders are not followed, so a walk cannot loop.
QStringList audioFilesIn(const QString& folder, bool recursive, const QStringList& extensions);

} // namespace library
