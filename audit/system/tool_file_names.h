#pragma once
// The names of the files Vald2600 reads and writes besides the images, in
// one table: every module and the usage text take them from here.

inline constexpr char HAVE_DATABASE_NAME[] = "Vald2600.db";  // beside the program
inline constexpr char HAVE_REPORT_NAME[] = "2600Have.txt";
inline constexpr char MISS_REPORT_NAME[] = "2600Miss.txt";
inline constexpr char DUPES_REPORT_NAME[] = "2600Dupes.txt";
inline constexpr char SCAN_LOG_NAME[] = "2600Scan.txt";
inline constexpr char CHANGE_LOG_NAME[] = "2600Log.txt";
inline constexpr char ZIP_LOG_NAME[] = "Vald_ZIP.txt";
inline constexpr char UNDO_JOURNAL_NAME[] = "2600Undo.txt";
inline constexpr char MISS_DAT_NAME[] = "2600Miss.dat";
inline constexpr char CSV_REPORT_NAME[] = "2600Report.csv";
inline constexpr char INFO_FILE_NAME[] = "ValdInfo.cfg";  // beside the program, read only
