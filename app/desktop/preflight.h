#pragma once
// The files and folders named on the command line, checked before the window opens: a run that could
// only fail at its end (a screenshot into a missing folder) or show something else than asked (a script
// that is not there) is refused before its first frame instead.

#include "app/core/command_line.h"

#include <string>
#include <vector>

namespace lumidor {

/// Why each file or folder named in `options` cannot be used, one line each ("--script a.psc: No such
/// file or directory"); empty when all can. Relative names are taken from the working directory. Looks
/// only: nothing is created, opened for writing or changed.
///  - --script: a file that can be read;
///  - --screenshot, --stats: a file that can be written in an existing folder (it need not exist);
///  - --record: a folder that can be written, or one that can be made (its nearest existing parent is a
///    folder that can be written).
std::vector<std::string> CheckCommandLineFiles(const TCommandLine& options);

} // namespace lumidor
