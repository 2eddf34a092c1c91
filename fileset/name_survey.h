#pragma once

#include "fileset/file_primitives.h"
#include "fileset/file_table.h"

// One look at every name of the table, by one listing per folder: cheaper than a probe per
// name, and the same look for every check a command makes before it moves anything.

struct RowNames {
    NameLook live;
    NameLook original; // under ORI!
    NameLook modified; // under MOD!
};

struct Survey {
    RowNames rows[MANAGED_FILE_COUNT];
};

// Names match without regard to letter case, as on Windows; a name there in its exact
// spelling wins over another spelling of it.
void SurveyManagedNames(Survey* survey);

// The look at a row's name under prefix; nullptr for the live name.
const NameLook& NameUnder(const RowNames& row, const char* prefix);
