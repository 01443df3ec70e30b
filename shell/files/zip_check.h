#pragma once
// Reads a finished .xlsx (a zip file) back and says whether it is whole: the library that
// writes workbooks does not report every short write, so a full disk or a file-size limit
// can leave a file that closes cleanly but is cut. Every part named by the central directory
// must have a matching local header, inflate to its recorded size and CRC-32, and every XML
// part must end with the closing tag of its root element.
#include <string>

namespace talvers {

// "" when the zip open as `fd` (read from offset 0, any position) is whole; otherwise the
// reason in Portuguese, e.g. "a parte 'xl/worksheets/sheet1.xml' está incompleta". A read
// failure is reported the same way, naming the system's error text.
std::string zipFileProblem(int fd);

}  // namespace talvers
