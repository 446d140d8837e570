// report.h - the library's one error-report path.
// A failed platform call is written to standard output as a "Fatal Error: ..." line, and
// the operation that made it goes on as though the call had succeeded.
#ifndef QUILLGRAPH_REPORT_H
#define QUILLGRAPH_REPORT_H

// Writes message and a line end to the standard output stream, then flushes it.
void ReportError(const char *message);

#endif // QUILLGRAPH_REPORT_H
