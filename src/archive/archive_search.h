// The text filter of the archive: one lower-case text per entry made of the fields it searches,
// and the lower-case text to find in it as a plain substring (no pattern characters), the same
// on every database engine.
#pragma once

#include <QString>

namespace archive {

// The test name, marking, type, press and operator, in lower case, apart by a separator that
// no typed text holds, so that a match never spans two fields.
QString SearchText(const QString& testName, const QString& marking, const QString& sampleType,
                   const QString& machine, const QString& operatorName);

// The typed text as it is sought: in lower case, without the separator.
QString SearchNeedle(const QString& text);

}  // namespace archive
