#pragma once

#include <QString>

namespace app {

/// What start-up and the main window ask of the built-in player: files handed over from the
/// command line or a second start go to its list.
class PlayerHandOff {
public:
    virtual ~PlayerHandOff() = default;
    /// Appends the file to the player's list and makes it the current entry.
    virtual void appendAsCurrent(const QString& path) = 0;
    virtual bool hasCurrent() const = 0;
    virtual void play(const QString& path) = 0;
};

/// Hands a file to the player as a second start or the command line does: append, make it
/// current, and play it when nothing was current before.
inline void handFileToPlayer(PlayerHandOff& player, const QString& path) {
    const bool wasIdle = !player.hasCurrent();
    player.appendAsCurrent(path);
    if (wasIdle)
        player.play(path);
}

} // namespace app
