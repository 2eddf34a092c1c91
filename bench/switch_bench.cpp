// What the program's bulk operations cost against the bare host calls they make, in the
// same process and run. Prints one table; not a test.

#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"
#include "bench/bench_platform.h"
#include "sample/sample_game.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t KIB = 1024;
constexpr std::uint64_t MIB = 1024 * KIB;
// Multiples of the number of timers taking turns: each goes first equally often.
constexpr int SWITCH_RUNS = 16;
constexpr int BACKUP_RUNS = 9;
constexpr int LARGE_BACKUP_RUNS = 6;

typedef std::vector<std::pair<fs::path, fs::path>> PathPairs;

struct Medians {
    double product; // seconds
    double bare;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <typename Action> double Seconds(Action action) {
    auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

typedef std::function<double()> Timer; // answers the seconds of its timed part

// Each takes its turn going first, so that none always meets the others' writes still on
// their way to the disk. A first, untimed round warms the caches of the host (and of Wine).
// Answers the medians in the timers' order.
std::vector<double> TimeInTurns(int runs, const std::vector<Timer>& timers) {
    for (const Timer& timer : timers)
        timer();
    std::vector<std::vector<double>> seconds(timers.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < timers.size(); ++i) {
            size_t turn = (static_cast<size_t>(run) + i) % timers.size();
            seconds[turn].push_back(timers[turn]());
        }
    }
    std::vector<double> medians;
    for (const std::vector<double>& values : seconds)
        medians.push_back(Median(values));
    return medians;
}

bool Fail(const char* what) {
    std::fprintf(stderr, "benchmark stopped: %s\n", what);
    return false;
}

void ClearGameDirectory(const fs::path& dir) {
    for (const char* name : {"common", "pc", "files.txt", "ORI!files.txt", "MOD!files.txt"})
        fs::remove_all(dir / name);
}

// size bytes of a repeating pattern, or a hole of that size where sparse: a rename never
// reads a file's data.
bool WriteSized(const fs::path& path, std::uint64_t size, bool sparse) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    static const std::vector<char> block(MIB, 'x');
    for (std::uint64_t left = sparse ? 0 : size; left > 0 && out;) {
        std::uint64_t part = std::min<std::uint64_t>(left, block.size());
        out.write(block.data(), static_cast<std::streamsize>(part));
        left -= part;
    }
    out.close();
    std::error_code error;
    if (sparse)
        fs::resize_file(path, size, error);
    return out && !error;
}

fs::path Host(const fs::path& dir, const std::string& tablePath) {
    return GamePath(dir, tablePath).make_preferred();
}

// The 740 renames of SwitchToModified then SwitchToOriginal, in the program's order.
PathPairs RoundTripRenames(const fs::path& dir) {
    PathPairs renames;
    for (auto [park, bring] : {std::pair(PREFIX_ORIGINAL, PREFIX_MODIFIED),
                               std::pair(PREFIX_MODIFIED, PREFIX_ORIGINAL)}) {
        for (const ManagedFile& row : ManagedFileTable)
            renames.push_back({Host(dir, row.livePath), Host(dir, Parked(row.livePath, park))});
        for (const ManagedFile& row : ManagedFileTable)
            renames.push_back({Host(dir, Parked(row.livePath, bring)), Host(dir, row.livePath)});
    }
    return renames;
}

// Round trips from the Original layout, which each of them restores.
bool TimeRoundTrips(const fs::path& dir, Medians* medians) {
    const PathPairs renames = RoundTripRenames(dir);
    int failures = 0;
    std::vector<double> seconds =
        TimeInTurns(SWITCH_RUNS, {[&] {
                                      FailedFiles failed;
                                      ClearFailedFiles(&failed);
                                      double timed = Seconds([&] {
                                          SwitchToModified(&failed);
                                          SwitchToOriginal(&failed);
                                      });
                                      failures += failed.count;
                                      return timed;
                                  },
                                  [&] {
                                      return Seconds([&] {
                                          for (const auto& [from, to] : renames)
                                              failures += !BareRename(from, to);
                                      });
                                  }});
    *medians = {seconds[0], seconds[1]};
    return failures == 0 || Fail("a rename of the round trip failed");
}

bool SwitchWithSizedFiles(const fs::path& dir, std::uint64_t size, bool sparse, Medians* medians) {
    ClearGameDirectory(dir);
    for (const ManagedFile& row : ManagedFileTable) {
        if (!WriteSized(Host(dir, row.livePath), size, sparse) ||
            !WriteSized(Host(dir, Parked(row.livePath, PREFIX_MODIFIED)), size, sparse))
            return Fail("cannot write the sample files");
    }
    return TimeRoundTrips(dir, medians);
}

void RemoveParkedOriginals(const fs::path& dir) {
    for (const ManagedFile& row : ManagedFileTable) {
        if (!row.switchOnly)
            fs::remove(Host(dir, Parked(row.livePath, PREFIX_ORIGINAL)));
    }
}

// The 183 backed-up rows share total bytes. Against bare copies, and against the bare calls
// of a durable copy: copy to the temporary name, flush, rename over the target.
bool TimeBackups(const fs::path& dir, std::uint64_t total, int runs, Medians* againstCopies,
                 Medians* againstDurable) {
    ClearGameDirectory(dir);
    PathPairs copies;
    std::uint64_t rows = MANAGED_FILE_COUNT - 2;
    for (const ManagedFile& row : ManagedFileTable) {
        std::uint64_t size = row.switchOnly ? KIB : total / rows + (copies.size() < total % rows);
        if (!WriteSized(Host(dir, row.livePath), size, false))
            return Fail("cannot write the sample files");
        if (!row.switchOnly)
            copies.push_back(
                {Host(dir, row.livePath), Host(dir, Parked(row.livePath, PREFIX_ORIGINAL))});
    }
    int failures = 0;
    std::vector<double> seconds =
        TimeInTurns(runs, {[&] {
                               RemoveParkedOriginals(dir);
                               FailedFiles failed;
                               ClearFailedFiles(&failed);
                               static BackupCopies copies;
                               double timed = Seconds([&] { BackupOriginals(&failed, &copies); });
                               failures += failed.count;
                               return timed;
                           },
                           [&] {
                               RemoveParkedOriginals(dir);
                               return Seconds([&] {
                                   for (const auto& [from, to] : copies)
                                       failures += !BareCopy(from, to);
                               });
                           },
                           [&] {
                               RemoveParkedOriginals(dir);
                               return Seconds([&] {
                                   for (const auto& [from, to] : copies) {
                                       fs::path temporary =
                                           to.parent_path() / ("TMP!" + to.filename().string());
                                       failures += !BareCopy(from, temporary) ||
                                                   !BareFlush(temporary) ||
                                                   !BareReplace(temporary, to);
                                   }
                               });
                           }});
    *againstCopies = {seconds[0], seconds[1]};
    *againstDurable = {seconds[0], seconds[2]};
    ClearGameDirectory(dir);
    return failures == 0 || Fail("a copy of the backup failed");
}

void PrintRow(const char* what, const Medians& medians, const std::string& note) {
    std::printf("| %-46s | %10.2f | %8.2f | %5.2f | %-29s |\n", what, medians.product * 1e3,
                medians.bare * 1e3, medians.product / medians.bare, note.c_str());
}

std::string Throughput(const Medians& medians, std::uint64_t total) {
    char text[64];
    double mib = static_cast<double>(total) / MIB;
    std::snprintf(text, sizeof text, "%.0f / %.0f MiB/s", mib / medians.product,
                  mib / medians.bare);
    return text;
}

int Benchmark(const fs::path& dir) {
    Medians sample, small, large, copiesSmall, durableSmall, copiesLarge, durableLarge;
    if (!MakeSampleGame(dir, SampleLayout::Original, NO_SETUP_FILES)) {
        Fail("cannot write the sample game");
        return 1;
    }
    if (!TimeRoundTrips(dir, &sample) || !SwitchWithSizedFiles(dir, KIB, false, &small) ||
        !SwitchWithSizedFiles(dir, 64 * MIB, true, &large) ||
        !TimeBackups(dir, 16 * MIB, BACKUP_RUNS, &copiesSmall, &durableSmall) ||
        !TimeBackups(dir, 512 * MIB, LARGE_BACKUP_RUNS, &copiesLarge, &durableLarge))
        return 1;
    ClearGameDirectory(dir);

    std::printf("%s build: the program against bare loops of the host calls, %s for the\n"
                "switch, %s and %s + %s + %s for the backup;\n"
                "medians of %d (switch), %d (16 MiB) and %d (512 MiB) runs\n\n",
                BUILD_NAME, BARE_RENAME_CALL, BARE_COPY_CALL, BARE_COPY_CALL, BARE_FLUSH_CALL,
                BARE_REPLACE_CALL, SWITCH_RUNS, BACKUP_RUNS, LARGE_BACKUP_RUNS);
    std::printf("| %-46s | %10s | %8s | %5s | %-29s |\n", "operation", "program ms", "bare ms",
                "ratio", "note");
    std::printf("|%s|-----------:|---------:|------:|%s|\n", std::string(48, '-').c_str(),
                std::string(31, '-').c_str());
    PrintRow("switch round trip, 740 renames, sample game", sample, "");
    PrintRow("switch round trip, 185 x 2 files of 1 KiB", small, "");
    char growth[64];
    std::snprintf(growth, sizeof growth, "%.2f x the 1 KiB round trip",
                  large.product / small.product);
    PrintRow("switch round trip, 185 x 2 files of 64 MiB", large, growth);
    PrintRow("BackupOriginals, 16 MiB, vs bare copies", copiesSmall,
             Throughput(copiesSmall, 16 * MIB));
    PrintRow("BackupOriginals, 16 MiB, vs copy+flush+rename", durableSmall,
             Throughput(durableSmall, 16 * MIB));
    PrintRow("BackupOriginals, 512 MiB, vs bare copies", copiesLarge,
             Throughput(copiesLarge, 512 * MIB));
    PrintRow("BackupOriginals, 512 MiB, vs copy+flush+rename", durableLarge,
             Throughput(durableLarge, 512 * MIB));
    std::printf("\nThe 64 MiB files are sparse: a rename never reads a file's data. Each backup\n"
                "copies 183 files; the program flushes each copy before it takes its name.\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return RunInFreshGameDirectory(argc, argv, Benchmark);
}
