#include "link/pidgroups.h"

#include "link/parameterreplies.h"

#include <algorithm>
#include <bit>

namespace zelcor {

namespace {

// The bytes a PID adds to its request's answer: itself and its data. A PID the table does
// not know is taken at four data bytes, the most a service 01 answer usually holds.
int answerShare(int pid) {
    const int bytes = answerBytes(pid);
    return 1 + (bytes > 0 ? bytes : 4);
}

int framesOf(const QList<int>& shares, const QList<int>& members) {
    int bytes = 1; // the service byte
    for (const int k : members)
        bytes += shares[k];
    return canFrames(bytes);
}

int totalFrames(const QList<int>& shares, const QList<QList<int>>& groups) {
    int frames = 0;
    for (const QList<int>& group : groups)
        frames += framesOf(shares, group);
    return frames;
}

// Two groups: every split tried (the first PID always in the first group), without a list
// built for any but the best.
QList<QList<int>> bestOfTwo(const QList<int>& shares, int perRequest) {
    const int n = int(shares.size());
    int total = 0;
    for (const int share : shares)
        total += share;
    quint32 best = 0;
    int bestFrames = 0;
    for (quint32 mask = 1; mask < (1u << n); mask += 2) {
        const int first = std::popcount(mask);
        if (first > perRequest || n - first > perRequest) continue;
        int bytes = 0;
        for (int k = 0; k < n; ++k)
            bytes += mask & (1u << k) ? shares[k] : 0;
        const int frames = canFrames(1 + bytes) + canFrames(1 + total - bytes);
        if (best == 0 || frames < bestFrames) {
            best = mask;
            bestFrames = frames;
        }
    }
    QList<QList<int>> groups(2);
    for (int k = 0; k < n; ++k)
        groups[best & (1u << k) ? 0 : 1].append(k);
    return groups;
}

// More groups: from the PIDs as listed, one PID moved or two swapped while that saves a
// frame.
QList<QList<int>> improved(const QList<int>& shares, int perRequest) {
    const int n = int(shares.size());
    QList<QList<int>> groups;
    for (int k = 0; k < n; k += perRequest) {
        QList<int> group;
        for (int j = k; j < std::min(n, k + perRequest); ++j)
            group.append(j);
        groups.append(group);
    }
    for (bool better = true; better;) {
        better = false;
        const int frames = totalFrames(shares, groups);
        for (qsizetype a = 0; a < groups.size() && !better; ++a) {
            for (qsizetype b = 0; b < groups.size() && !better; ++b) {
                if (a == b) continue;
                for (qsizetype i = 0; i < groups[a].size() && !better; ++i) {
                    QList<QList<int>> moved = groups;
                    const int k = moved[a].takeAt(i);
                    if (!moved[a].isEmpty() && moved[b].size() < perRequest) {
                        moved[b].append(k);
                        better = totalFrames(shares, moved) < frames;
                    }
                    for (qsizetype j = 0; j < groups[b].size() && !better; ++j) {
                        QList<QList<int>> swapped = groups;
                        std::swap(swapped[a][i], swapped[b][j]);
                        better = totalFrames(shares, swapped) < frames;
                        if (better) moved = swapped;
                    }
                    if (better) groups = moved;
                }
            }
        }
    }
    return groups;
}

} // namespace

int canFrames(int bytes) {
    return bytes <= 7 ? 1 : 1 + (bytes - 6 + 7 - 1) / 7;
}

QList<QList<int>> fewestFrameGroups(const QList<int>& pids, int perRequest) {
    perRequest = std::max(perRequest, 1);
    if (pids.size() <= perRequest) return pids.isEmpty() ? QList<QList<int>>{} : QList<QList<int>>{pids};
    if (perRequest == 1) {
        QList<QList<int>> singles;
        for (const int pid : pids)
            singles.append(QList<int>{pid});
        return singles;
    }
    QList<int> shares;
    for (const int pid : pids)
        shares.append(answerShare(pid));
    const bool two = pids.size() <= 2 * perRequest && pids.size() <= 16;
    QList<QList<int>> groups = two ? bestOfTwo(shares, perRequest) : improved(shares, perRequest);
    QList<QList<int>> result;
    for (QList<int>& group : groups) {
        std::sort(group.begin(), group.end());
        QList<int> chosen;
        for (const int k : group)
            chosen.append(pids[k]);
        result.append(chosen);
    }
    return result;
}

} // namespace zelcor
