#include "undolist.h"

#include "settings/multilanguage.h"

#include <algorithm>

namespace operations {

namespace {

const QString kApeRemoveGroup = QStringLiteral("APERemove");

/// What an entry is counted with: its fixed size and the tag bytes its snapshot holds.
qint64 entryBytes(tags::TMP3& snapshot) {
    qint64 bytes = sizeof(TUndoItem) + sizeof(tags::TMP3);
    const tags::TID3v2& id3v2 = snapshot.ID3v2();
    for (int i = 0; i < id3v2.frameCount(); ++i)
        bytes += id3v2.frame(i).body.size();
    for (const tags::VorbisComment& comment : snapshot.OggTag().comments().comments())
        bytes += comment.raw.size();
    return bytes;
}

bool sameFile(const std::weak_ptr<tags::TMP3>& a, const library::FileHandle& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}

bool hasLiveFile(const TUndoGroup& group) {
    return std::any_of(group.items.begin(), group.items.end(),
                       [](const TUndoItem& item) { return !item.file.expired(); });
}

/// The file's Changed flag after its snapshot is restored. The snapshot's own flag holds
/// while the disk still has what it had when the snapshot was taken. Once a save ran since,
/// the restored state differs from the disk; so it does, as far as can be told, when
/// neither the file nor the snapshot is marked changed (something saved or reverted the
/// file without the list knowing). Marking a file changed in doubt costs a rewrite of the
/// same tags; leaving it unmarked would lose the restored state.
bool restoredChanged(const TUndoItem& item, bool changedNow) {
    return item.savedSince || item.changed || !changedNow;
}

/// Puts the snapshot's frames back and keeps the header values of the tag, which describe
/// the tag on disk. After a save the frames differ from that tag, so they are marked for
/// writing.
void restoreFrames(tags::TID3v2& target, const tags::TID3v2& source, bool savedSince) {
    target.clear();
    for (int i = 0; i < source.frameCount(); ++i)
        target.AddFrame(source.frame(i).id) = source.frame(i);
    target.modified = source.modified || savedSince;
}

/// Restores the tag state of the file, not its identity on disk: FilePath, the stream
/// values and the file stamp stay, as a save may have moved or rewritten the file since.
/// The APE flag of an entry older than a save stays as the save left it: a removed tag is
/// gone, and one still there must not be dropped by the next save.
void restore(tags::TMP3& file, const TUndoItem& item) {
    tags::TMP3& snapshot = *item.snapshot;
    const bool changed = restoredChanged(item, file.Changed());
    file.id3v1() = snapshot.id3v1();
    file.setChanged(changed);
    file.setTag(snapshot.Tag());
    file.setNewFileDir(snapshot.NewFileDir());
    file.setFileName(snapshot.FileName());
    restoreFrames(file.ID3v2(), snapshot.ID3v2(), item.savedSince);
    if (file.OGG())
        file.OggTag() = snapshot.OggTag();
    if (file.WMA())
        file.WmaTag() = snapshot.WmaTag();
    if (!item.savedSince)
        file.setAPE(snapshot.APE());
}

} // namespace

void TUndoList::beginGroup(const QString& name) {
    if (m_groups.empty() || !m_groups.back().items.empty())
        m_groups.push_back({});
    m_groups.back().name = name;
    m_open = true;
}

void TUndoList::endGroup() {
    if (!m_groups.empty() && m_groups.back().items.empty())
        m_groups.pop_back();
    m_open = false;
}

TUndoGroup& TUndoList::openGroup() {
    if (!m_open)
        beginGroup(QString());
    return m_groups.back();
}

tags::TMP3& TUndoList::push(const library::FileHandle& file) {
    Q_ASSERT(file);
    TUndoItem item;
    item.file = file;
    item.snapshot = std::make_unique<tags::TMP3>(QString(), file->options());
    item.snapshot->Assign(*file);
    item.changed = item.snapshot->Changed();
    item.bytes = entryBytes(*item.snapshot);
    m_memory += item.bytes;
    TUndoGroup& group = openGroup();
    group.items.push_back(std::move(item));
    return *group.items.back().snapshot;
}

bool TUndoList::pushIfNew(const library::FileHandle& file) {
    if (m_open) {
        const auto& items = m_groups.back().items;
        if (std::any_of(items.begin(), items.end(),
                        [&](const TUndoItem& item) { return sameFile(item.file, file); }))
            return false;
    }
    push(file);
    return true;
}

void TUndoList::dropLast() {
    if (m_groups.empty() || m_groups.back().items.empty())
        return;
    forget(m_groups.back().items.back());
    m_groups.back().items.pop_back();
}

bool TUndoList::canUndo() const {
    return std::any_of(m_groups.rbegin(), m_groups.rend(), hasLiveFile);
}

int TUndoList::UndoLast() {
    while (!m_groups.empty() && !hasLiveFile(m_groups.back()))
        popGroup();
    if (m_groups.empty())
        return 0;
    int restored = 0;
    const auto& items = m_groups.back().items;
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        const library::FileHandle file = item->file.lock();
        if (!file)
            continue;
        restore(*file, *item);
        if (file->doUpdateListItem)
            file->doUpdateListItem(*file);
        ++restored;
    }
    popGroup();
    return restored;
}

void TUndoList::popGroup() {
    for (const TUndoItem& item : m_groups.back().items)
        forget(item);
    m_groups.pop_back();
    m_open = false;
}

int TUndoList::entryCount() const {
    int count = 0;
    for (const TUndoGroup& group : m_groups)
        count += int(group.items.size());
    return count;
}

QString TUndoList::openGroupName() const {
    return m_open ? m_groups.back().name : QString();
}

QString TUndoList::statusText() const {
    return settings::lookupText(QStringLiteral("Undo")) +
           QStringLiteral(": %1, %2").arg(entryCount()).arg(sizeText(memoryUsed()));
}

QString TUndoList::sizeText(qint64 bytes) {
    static const char* const kUnits[] = {"", "K", "M", "G"};
    int unit = 0;
    while (bytes > 1024 && unit < 3) {
        bytes /= 1024;
        ++unit;
    }
    return QString::number(bytes) + QLatin1String(kUnits[unit]);
}

void TUndoList::clear() {
    m_groups.clear();
    m_open = false;
    m_memory = 0;
}

void TUndoList::clearAfterSave(bool undoAfterSave) {
    if (!undoAfterSave) {
        clear();
        return;
    }
    std::erase_if(m_groups, [this](const TUndoGroup& group) {
        if (group.name.compare(kApeRemoveGroup, Qt::CaseInsensitive) != 0)
            return false;
        for (const TUndoItem& item : group.items)
            forget(item);
        return true;
    });
    for (TUndoGroup& group : m_groups)
        for (TUndoItem& item : group.items)
            item.savedSince = true;
    m_open = false; // what is done after the save is a step of its own
}

} // namespace operations
