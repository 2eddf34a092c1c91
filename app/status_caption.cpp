#include "app/program.h"

#include "app/main_window_controls.h"
#include "app/texts.h"
#include "fileset/file_state.h"
#include "ui/window.h"

FileSetState ScanStatus() {
    FileSetState state = QueryFileSetState();
    switch (state) {
    case FileSetState::Modified:
        SetControlText(STATUS_BUTTON, CAPTION_MODIFIED);
        break;
    case FileSetState::Original:
        SetControlText(STATUS_BUTTON, CAPTION_ORIGINAL);
        break;
    case FileSetState::Conflict:
    case FileSetState::Unfinished:
        // Final for the run: no switch may start from a half-switched directory.
        SetControlText(STATUS_BUTTON, CAPTION_CONFLICT);
        DisableControl(STATUS_BUTTON, CONTROL_DISABLE);
        break;
    }
    return state;
}
