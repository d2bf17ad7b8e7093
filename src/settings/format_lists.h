// The input-format and output-format lists: the formats this program offers.
// Every menu, option and check iterates these lists; the format tables cover more.
#pragma once

#include <QStringList>

const QStringList& inputFormatList();   // {"jpg"}
const QStringList& outputFormatList();  // {"hdr"}
