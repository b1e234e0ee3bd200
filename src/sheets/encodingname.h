#pragma once

#include "sheets/textcodec.h"

#include <QString>

// How the user is told an encoding: "Shift_JIS (CP932)", "UTF-8 (BOM 付き)", ...
QString encodingName(TextCodec::Encoding encoding);
