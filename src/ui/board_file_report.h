#pragma once
// The message of a board file that a game cannot be played on: the file's path and what it
// lacks, in the program's own words, since the file's texts may be missing with it.
#include <QString>
#include <vector>

#include "data/board_file_check.h"

namespace tomtura {

QString BoardFileReport(const QString& path, const std::vector<MissingBoardPart>& missing);

}  // namespace tomtura
