#pragma once
// Reads a finished .xlsx (a zip file) back and says whether it is whole: the library that
// writes workbooks does not report every short write, so a full disk or a file-size limit
// can leave a file that closes cleanly but is cut, or that lacks rows in the middle. Every
// part named by the central directory must have a matching local header, inflate to its
// recorded size and CRC-32, and every XML part must be well-formed (xml_check.h); a
// ZipPartReader may follow the XML parts' contents and say whether they hold what was
// written.
#include <string>

#include "shell/files/byte_source.h"
#include "shell/files/xml_check.h"

namespace talvers {

class ZipPartReader {
  public:
    virtual ~ZipPartReader() = default;
    // The events for the contents of the XML part `name`, or null when it is only checked.
    virtual XmlEvents* eventsFor(const std::string& name) = 0;
    // Called once the part `name` was read whole and well-formed: "" or why it does not hold
    // what was written, in Portuguese.
    virtual std::string partProblem(const std::string& name) = 0;
};

// "" when the zip in `file` is whole; otherwise the reason in Portuguese, e.g. "a parte
// 'xl/worksheets/sheet1.xml' está incompleta". A read failure is reported the same way.
// Exceptions of `reader` and of its events pass through.
std::string zipFileProblem(ByteSource& file, ZipPartReader* reader = nullptr);

}  // namespace talvers
