#pragma once

#include "tags/audiofile.h"

#include <QMap>
#include <memory>

/// An MPEG file object that exists only in memory, with the given fields set.
inline std::unique_ptr<tags::TMP3> sampleTrack(const QMap<tags::Field, QString>& fields,
                                               const QString& path = "/music/in/old name.mp3") {
    auto file = std::make_unique<tags::TMP3>();
    file->setFilePath(path);
    file->setNewFileDir(path.left(path.lastIndexOf('/') + 1));
    const QString name = path.mid(path.lastIndexOf('/') + 1);
    file->setFileName(name.left(name.lastIndexOf('.')));
    for (auto it = fields.begin(); it != fields.end(); ++it)
        file->set(it.key(), it.value());
    return file;
}
