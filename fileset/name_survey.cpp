#include "fileset/name_survey.h"

#include <cstring>

const NameLook& NameUnder(const RowNames& row, const char* prefix) {
    if (prefix == nullptr)
        return row.live;
    return std::strcmp(prefix, PREFIX_ORIGINAL) == 0 ? row.original : row.modified;
}

static size_t FolderLength(const char* livePath) {
    const char* separator = std::strrchr(livePath, '\\');
    return separator ? static_cast<size_t>(separator - livePath) + 1 : 0;
}

static char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The length of the prefix that name starts with in any letter case, or 0.
static size_t PrefixLength(const char* name, const char* prefix) {
    size_t at = 0;
    for (; prefix[at] != 0; ++at) {
        if (Lower(name[at]) != Lower(prefix[at]))
            return 0;
    }
    return at;
}

// One folder's rows, first to last, as the table runs them.
struct FolderVisit {
    Survey* survey;
    int first;
    int last;
    size_t folderLength;
    bool exact[MANAGED_FILE_COUNT][3]; // the look came from the exact spelling
};

static NameLook* PlaceEntry(void* context, const char* name) {
    FolderVisit* visit = static_cast<FolderVisit*>(context);
    const char* const prefixes[3] = {"", PREFIX_ORIGINAL, PREFIX_MODIFIED};
    for (int p = 0; p < 3; ++p) {
        size_t prefixLength = PrefixLength(name, prefixes[p]);
        if (p > 0 && prefixLength == 0)
            continue;
        const char* rest = name + prefixLength;
        for (int i = visit->first; i <= visit->last; ++i) {
            const char* own = ManagedFileTable[i].livePath + visit->folderLength;
            size_t at = 0;
            while (own[at] != 0 && Lower(rest[at]) == own[at])
                ++at;
            if (own[at] != 0 || rest[at] != 0)
                continue;
            bool exact =
                std::strncmp(name, prefixes[p], prefixLength) == 0 && std::strcmp(rest, own) == 0;
            RowNames& row = visit->survey->rows[i];
            NameLook* look = p == 0 ? &row.live : p == 1 ? &row.original : &row.modified;
            // The first spelling found stands, unless the exact one comes later.
            if (visit->exact[i][p] || (!exact && IsPresent(*look)))
                return nullptr;
            visit->exact[i][p] = exact;
            return look;
        }
    }
    return nullptr;
}

// Lists the folder of rows first to last; where it cannot, none of their names can be
// looked at.
static void VisitFolder(Survey* survey, int first, int last) {
    static FolderVisit visit; // too large for the stack of a thread with a small one
    visit = {};
    visit.survey = survey;
    visit.first = first;
    visit.last = last;
    visit.folderLength = FolderLength(ManagedFileTable[first].livePath);
    char folder[PARKED_PATH_SIZE] = {};
    if (visit.folderLength > 0)
        std::memcpy(folder, ManagedFileTable[first].livePath, visit.folderLength - 1);
    FileFailure failure = FileListFolder(folder, PlaceEntry, &visit);
    if (failure == FileFailure::None || failure == FileFailure::Missing)
        return;
    const NameLook unreadable = {NameKind::Unreadable, failure};
    for (int i = first; i <= last; ++i)
        survey->rows[i] = {unreadable, unreadable, unreadable};
}

// The test seam's say on every name found.
static void ApplySeam(RowNames* row, const char* live) {
    char parked[PARKED_PATH_SIZE];
    if (IsPresent(row->live))
        row->live = FileSeamLook(live, row->live);
    if (IsPresent(row->original))
        row->original = FileSeamLook(ParkedPath(live, PREFIX_ORIGINAL, parked), row->original);
    if (IsPresent(row->modified))
        row->modified = FileSeamLook(ParkedPath(live, PREFIX_MODIFIED, parked), row->modified);
}

void SurveyManagedNames(Survey* survey) {
    for (RowNames& row : survey->rows)
        row = {};
    for (int first = 0; first < MANAGED_FILE_COUNT;) {
        const char* live = ManagedFileTable[first].livePath;
        size_t length = FolderLength(live);
        int last = first;
        while (last + 1 < MANAGED_FILE_COUNT &&
               FolderLength(ManagedFileTable[last + 1].livePath) == length &&
               std::strncmp(ManagedFileTable[last + 1].livePath, live, length) == 0)
            ++last;
        VisitFolder(survey, first, last);
        first = last + 1;
    }
    for (int i = 0; i < MANAGED_FILE_COUNT; ++i)
        ApplySeam(&survey->rows[i], ManagedFileTable[i].livePath);
}
