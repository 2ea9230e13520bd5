// The database keywords, service and manager on real SQLite files in a
// temporary folder.
#include "tests/database/database_support.h"

namespace vell::test {
namespace {

// SHOW(R): every record from the current one on, fields joined by "|",
// records ended by ";".
const std::u16string kShow =
    u"SUB SHOW(R) {\n DIM I\n WHILE GETRECORDEOF(R) == 0 {\n"
    u"  FOR (I = 0, I < GETFIELDCOUNT(R), I = I + 1) { PRINT GETFIELDDATA(R, I), \"|\" }\n"
    u"  PRINT \";\"\n  NEXTRECORD(R)\n }\n}\n";

std::u16string P(std::u16string_view body) { return kShow + std::u16string(body); }

TEST_F(DatabaseTest, CreateInsertBrowseEditAppendDeleteAndReadBack) {
  EXPECT_EQ(Run(P(u"DIM DB, RS\n"
                  u"DB = OPENDB(\"Provider=SQLite;Data Source=people.db\")\n"
                  u"PRINT DB, \" \", COMMANDDB(DB, \"CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT, "
                  u"age INTEGER)\"), \" \"\n"
                  u"COMMANDDB(DB, \"INSERT INTO people (name, age) VALUES ('Ann', 31)\")\n"
                  u"COMMANDDB(DB, \"INSERT INTO people (name, age) VALUES ('Bob', 45)\")\n"
                  u"COMMANDDB(DB, \"INSERT INTO people (name, age) VALUES ('Cy', 27)\")\n"
                  u"RS = OPENRECORDSET(DB, \"SELECT * FROM people ORDER BY id\")\n"
                  u"PRINT RS, \" \", GETRECORDCOUNT(RS), \" \"\n"
                  u"SHOW(RS)\n"
                  u"FIRSTRECORD(RS)\nNEXTRECORD(RS)\n"
                  u"PRINT EDITRECORD(RS), SETFIELDDATA(RS, 1, \"O'Hara \u00C5\u3042\"), POSTRECORD(RS)\n"
                  u"PRINT APPENDRECORD(RS), SETFIELDDATA(RS, 1, \"Dee\"), SETFIELDDATA(RS, 2, \"19\"), "
                  u"POSTRECORD(RS), \" \", GETFIELDDATA(RS, 0), \" \", GETRECORDNO(RS), \" \"\n"
                  u"FIRSTRECORD(RS)\nPRINT DELETERECORD(RS), \" \", GETRECORDCOUNT(RS), \" \", "
                  u"GETFIELDDATA(RS, 1), \" \"\n"
                  u"PRINT CLOSEDB(DB)\n")),
            "0 1 0 3 1|Ann|31|;2|Bob|45|;3|Cy|27|;0000000 4 4 0 3 O'Hara \u00C5\u3042 1");
  EXPECT_EQ(Errors(), "");
  ASSERT_TRUE(Exists("people.db"));

  Start();  // a fresh interpreter and connection read what was posted
  EXPECT_EQ(Run(P(u"DIM DB\nDB = OPENDB(\"Provider=SQLite3;Data Source=PEOPLE.db\")\n"
                  u"SHOW(OPENRECORDSET(DB, \"SELECT name, age FROM people ORDER BY id\"))\n")),
            "O'Hara \u00C5\u3042|45|;Cy|27|;Dee|19|;");
}

TEST_F(DatabaseTest, CursorFollowsTheDataSetRules) {
  EXPECT_EQ(Run(u"DIM DB, RS\nDB = OPENDB(\"Provider=SQLite;Data Source=c.db\")\n"
                u"COMMANDDB(DB, \"CREATE TABLE t (n INTEGER PRIMARY KEY)\")\n"
                u"COMMANDDB(DB, \"INSERT INTO t VALUES (1), (2), (3)\")\n"
                u"RS = OPENRECORDSET(DB, \"SELECT n FROM t ORDER BY n\")\n"
                // BOF after opening, RecNo 1-based.
                u"PRINT GETRECORDBOF(RS), GETRECORDEOF(RS), GETRECORDNO(RS), \" \"\n"
                u"NEXTRECORD(RS)\nPRINT GETRECORDBOF(RS), GETRECORDNO(RS), \" \"\n"
                // Next past the last sets EOF and keeps the last record.
                u"NEXTRECORD(RS)\nNEXTRECORD(RS)\nNEXTRECORD(RS)\n"
                u"PRINT GETRECORDEOF(RS), GETRECORDNO(RS), GETFIELDDATA(RS, 0), \" \"\n"
                u"PRIORRECORD(RS)\nPRINT GETRECORDEOF(RS), GETFIELDDATA(RS, 0), \" \"\n"
                // Prior before the first sets BOF and keeps the first record.
                u"PRIORRECORD(RS)\nPRIORRECORD(RS)\nPRINT GETRECORDBOF(RS), GETFIELDDATA(RS, 0), \" \"\n"
                u"LASTRECORD(RS)\nPRINT GETRECORDEOF(RS), GETRECORDBOF(RS), GETFIELDDATA(RS, 0), \" \"\n"
                u"FIRSTRECORD(RS)\nPRINT GETRECORDBOF(RS), GETFIELDDATA(RS, 0), \" \"\n"
                u"PRINT SETRECORDNO(RS, 0), SETRECORDNO(RS, 4), SETRECORDNO(RS, 3), GETFIELDDATA(RS, 0), \" \"\n"
                // A move while editing posts the change first.
                u"SETRECORDNO(RS, 2)\nEDITRECORD(RS)\nSETFIELDDATA(RS, 0, \"20\")\nNEXTRECORD(RS)\n"
                u"PRINT GETRECORDNO(RS), \" \"\n"
                u"CLOSERECORDSET(RS)\nRS = OPENRECORDSET(DB, \"SELECT n FROM t ORDER BY n\")\n"
                u"SETRECORDNO(RS, 3)\nPRINT GETFIELDDATA(RS, 0), \" \"\n"
                // Edit on an empty set appends.
                u"RS = OPENRECORDSET(DB, \"SELECT n FROM t WHERE n > 100\")\n"
                u"PRINT GETRECORDBOF(RS), GETRECORDEOF(RS), GETRECORDCOUNT(RS), GETRECORDNO(RS), \" \"\n"
                u"EDITRECORD(RS)\nSETFIELDDATA(RS, 0, \"500\")\nPOSTRECORD(RS)\n"
                u"PRINT GETRECORDCOUNT(RS), GETFIELDDATA(RS, 0), \" \"\n"
                u"PRINT COMMANDDB(DB, \"DELETE FROM t WHERE n = 500\")\n"),
            "101 02 133 02 11 103 11 -1-103 3 20 1100 1500 1");
  EXPECT_EQ(Errors(), "");
}

TEST_F(DatabaseTest, InMemoryDatabaseAndTransactionSurviveRecordsetOpens) {
  EXPECT_EQ(Run(P(u"DIM DB, A, B\nDB = OPENDB(\"Provider=SQLite;Data Source=:memory:\")\n"
                  u"COMMANDDB(DB, \"CREATE TABLE t (x TEXT)\")\n"
                  u"COMMANDDB(DB, \"CREATE TEMP TABLE scratch (y TEXT)\")\n"
                  u"COMMANDDB(DB, \"INSERT INTO t VALUES ('kept')\")\n"
                  u"COMMANDDB(DB, \"BEGIN\")\n"
                  u"COMMANDDB(DB, \"INSERT INTO t VALUES ('undone')\")\n"
                  u"A = OPENRECORDSET(DB, \"SELECT x FROM t\")\n"
                  u"B = OPENRECORDSET(DB, \"SELECT y FROM scratch\")\n"
                  u"PRINT A, B, GETRECORDCOUNT(A), \" \"\n"
                  u"PRINT COMMANDDB(DB, \"ROLLBACK\"), \" \"\n"
                  u"SHOW(OPENRECORDSET(DB, \"SELECT x FROM t\"))\n")),
            "012 1 kept|;");
  EXPECT_EQ(Errors(), "");
}

TEST_F(DatabaseTest, CommandsAndRecordsetsLeaveNoStatementOpen) {
  // A statement left open would keep the table locked against DROP and the
  // transaction from committing.
  EXPECT_EQ(Run(u"DIM DB, RS\nDB = OPENDB(\"Provider=SQLite;Data Source=s.db\")\n"
                u"COMMANDDB(DB, \"CREATE TABLE t (x INTEGER)\")\n"
                u"COMMANDDB(DB, \"INSERT INTO t VALUES (1), (2)\")\n"
                u"COMMANDDB(DB, \"BEGIN\")\n"
                u"PRINT COMMANDDB(DB, \"SELECT * FROM t\"), COMMANDDB(DB, \"SELECT * FROM nowhere\"), \" \"\n"
                u"RS = OPENRECORDSET(DB, \"SELECT x FROM t\")\n"
                u"PRINT COMMANDDB(DB, \"COMMIT\"), COMMANDDB(DB, \"DROP TABLE t\"), GETRECORDCOUNT(RS)\n"),
            "13021 112");
  EXPECT_EQ(Errors(), "no such table: nowhere");
}

TEST_F(DatabaseTest, FailedOpensAnswerMinusOneWithoutMessageOrFile) {
  EXPECT_EQ(Run(u"PRINT OPENDB(\"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=old.mdb\"), \" \"\n"
                u"PRINT OPENDB(\"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=new.accdb\"), \" \"\n"
                u"PRINT OPENDB(\"Provider=SQLite;Data Source=\\\"broken.db\"), \" \"\n"
                u"PRINT OPENDB(\"Provider=SQLite;Data Source=no/such/folder/x.db\"), \" \"\n"
                u"PRINT OPENDB(\"Driver={No Such Driver};Database=odbc.db\"), \" \"\n"
                // Each failed open keeps its slot until it is closed.
                u"PRINT OPENDB(\"Provider=SQLite;Data Source=:memory:\"), \" \", CLOSEDB(0), \" \", "
                u"OPENDB(\"Provider=SQLite;Data Source=:memory:\"), \" \"\n"
                u"PRINT OPENRECORDSET(5, \"SELEC nothing\"), \" \", OPENRECORDSET(0, \"SELECT 1\"), \" \", "
                u"OPENRECORDSET(3, \"SELECT 1\"), \" \", OPENRECORDSET(10, \"SELECT 1\"), \" \"\n"
                // A record set that failed to open keeps its slot too.
                u"PRINT GETRECORDCOUNT(0), \" \", CLOSERECORDSET(0), \" \", CLOSERECORDSET(0)\n"),
            "-1 -1 -1 -1 -1 5 1 0 -1 1 -1 -1 3005 1 -1");
  EXPECT_EQ(Errors(), "The record set is not open");
  for (const char* name : {"old.mdb", "new.accdb", "broken.db", "odbc.db"}) EXPECT_FALSE(Exists(name)) << name;
}

TEST_F(DatabaseTest, BadNumbersAndIndexesAreRefused) {
  EXPECT_EQ(Run(u"DIM DB, RS\nDB = OPENDB(\"Provider=SQLite;Data Source=:memory:\")\n"
                u"RS = OPENRECORDSET(\"0\", \"SELECT 1 AS a, 'b' AS b\")\n"
                u"PRINT GETFIELDDATA(0.7, 1), \" \", GETFIELDDATA(25, 0), \" \", GETRECORDCOUNT(25), \" \", "
                u"GETRECORDCOUNT(-1), \" \", CLOSEDB(10), \" \", COMMANDDB(-1, \"SELECT 1\"), \" \"\n"
                u"PRINT GETFIELDDATA(RS, 2), \" \", GETFIELDDATA(RS, -1), \" \", SETFIELDDATA(RS, 5, \"x\"), \" \"\n"
                u"PRINT POSTRECORD(RS), \" \", SETFIELDDATA(RS, 0, \"x\"), \" \", COMMANDDB(DB, \"SELEC\")\n"),
            "b -1 -1 -1 -1 -1 3019 3019 3020 3016 3020 3021");
  EXPECT_EQ(Errors(),
            "Field index 2 is out of range (the record set has 2 fields) / "
            "Field index -1 is out of range (the record set has 2 fields) / "
            "Field index 5 is out of range (the record set has 2 fields) / "
            "The record set is not being edited or appended / "
            "The record set is not being edited or appended / "
            "near \"SELEC\": syntax error");
}

TEST_F(DatabaseTest, PostMustFindExactlyOneRow) {
  EXPECT_EQ(Run(P(u"DIM DB, RS\nDB = OPENDB(\"Provider=SQLite;Data Source=twice.db\")\n"
                  // No key: the row is found by all of its values, and two rows match.
                  u"COMMANDDB(DB, \"CREATE TABLE t (a TEXT, b INTEGER)\")\n"
                  u"COMMANDDB(DB, \"INSERT INTO t VALUES ('same', 1), ('same', 1), ('other', NULL)\")\n"
                  u"RS = OPENRECORDSET(DB, \"SELECT a, b FROM t\")\n"
                  u"EDITRECORD(RS)\nSETFIELDDATA(RS, 0, \"changed\")\nPRINT POSTRECORD(RS), \" \"\n"
                  u"PRINT DELETERECORD(RS), \" \"\n"
                  // A NULL original value is matched with IS NULL.
                  u"LASTRECORD(RS)\nEDITRECORD(RS)\nSETFIELDDATA(RS, 1, \"7\")\nPRINT POSTRECORD(RS), \" \"\n"
                  // The row went away behind the record set's back.
                  u"COMMANDDB(DB, \"DELETE FROM t WHERE a = 'other'\")\n"
                  u"EDITRECORD(RS)\nSETFIELDDATA(RS, 0, \"gone\")\nPRINT POSTRECORD(RS), \" \"\n"
                  // The failed post left the record set browsing: moving on works.
                  u"PRINT NEXTRECORD(RS), GETRECORDEOF(RS), \" \"\n"
                  u"SHOW(OPENRECORDSET(DB, \"SELECT a, b FROM t\"))\n")),
            "3016 3017 0 3016 01 same|1|;same|1|;");
  EXPECT_EQ(Errors(),
            "The change could not be posted: 2 rows of table t match the record, so nothing was changed / "
            "The record could not be deleted: 2 rows of table t match the record, so nothing was changed / "
            "The change could not be posted: the record is no longer in table t");
}

TEST_F(DatabaseTest, FieldTextsAndConversions) {
  EXPECT_EQ(Run(u"DIM DB, RS\nDB = OPENDB(\"Provider=SQLite;Data Source=f.db\")\n"
                u"COMMANDDB(DB, \"CREATE TABLE f (id INTEGER PRIMARY KEY, r REAL, d DATE, t DATETIME, "
                u"n INTEGER, s TEXT, flag BOOLEAN)\")\n"
                u"COMMANDDB(DB, \"INSERT INTO f VALUES (1, 0.1 + 0.2, '2024-03-05', '2024-03-05 07:08:09', "
                u"NULL, '', 1)\")\n"
                u"COMMANDDB(DB, \"INSERT INTO f (id, r) VALUES (2, 1e20)\")\n"
                u"RS = OPENRECORDSET(DB, \"SELECT * FROM f ORDER BY id\")\n"
                u"PRINT GETFIELDDATA(RS, 1), \"|\", GETFIELDDATA(RS, 2), \"|\", GETFIELDDATA(RS, 3), \"|[\", "
                u"GETFIELDDATA(RS, 4), \"]|[\", GETFIELDDATA(RS, 5), \"]|\", GETFIELDDATA(RS, 6), \" \"\n"
                u"NEXTRECORD(RS)\nPRINT GETFIELDDATA(RS, 1), \" \"\n"
                u"EDITRECORD(RS)\n"
                u"PRINT SETFIELDDATA(RS, 1, \"2.5x\"), SETFIELDDATA(RS, 2, \"2024/13/01\"), "
                u"SETFIELDDATA(RS, 3, \"2024/1/2 25:00\"), SETFIELDDATA(RS, 4, \"1.5\"), "
                u"SETFIELDDATA(RS, 6, \"maybe\"), \" \"\n"
                u"PRINT SETFIELDDATA(RS, 1, \" -2.5e-3 \"), SETFIELDDATA(RS, 2, \"2024/1/2\"), "
                u"SETFIELDDATA(RS, 3, \"2024-01-02 3:04\"), SETFIELDDATA(RS, 4, \"-42\"), "
                u"SETFIELDDATA(RS, 6, \"false\"), POSTRECORD(RS), \" \"\n"
                u"EDITRECORD(RS)\nSETFIELDDATA(RS, 4, \"\")\nPOSTRECORD(RS)\n"
                u"RS = OPENRECORDSET(DB, \"SELECT r, d, t, n IS NULL, typeof(d), flag FROM f WHERE id = 2\")\n"
                u"PRINT GETFIELDDATA(RS, 0), \"|\", GETFIELDDATA(RS, 1), \"|\", GETFIELDDATA(RS, 2), \"|\", "
                u"GETFIELDDATA(RS, 3), \"|\", GETFIELDDATA(RS, 4), \"|\", GETFIELDDATA(RS, 5)\n"),
            "0.3|2024/03/05|2024/03/05 7:08:09|[]|[]|True 1e+20 30203020302030203020 000000 "
            "-0.0025|2024/01/02|2024/01/02 3:04:00|1|text|False");
  EXPECT_EQ(Errors(),
            "Field r: '2.5x' is not a valid number / Field d: '2024/13/01' is not a valid date / "
            "Field t: '2024/1/2 25:00' is not a valid date and time / "
            "Field n: '1.5' is not a valid integer value / Field flag: 'maybe' is not a valid boolean value");
}

TEST_F(DatabaseTest, ClosingAndNewCloseRecordsetsAndKeepPostedChanges) {
  EXPECT_EQ(Run(u"DIM A, B, RA, RB\nA = OPENDB(\"Provider=SQLite;Data Source=a.db\")\n"
                u"B = OPENDB(\"Provider=SQLite;Data Source=b.db\")\n"
                u"COMMANDDB(A, \"CREATE TABLE t (x INTEGER PRIMARY KEY)\")\n"
                u"RA = OPENRECORDSET(A, \"SELECT x FROM t\")\nRB = OPENRECORDSET(B, \"SELECT 1\")\n"
                u"APPENDRECORD(RA)\nSETFIELDDATA(RA, 0, \"5\")\nPOSTRECORD(RA)\n"
                // An edit never posted is dropped when the connection closes.
                u"APPENDRECORD(RA)\nSETFIELDDATA(RA, 0, \"6\")\n"
                u"PRINT CLOSEDB(A), GETRECORDCOUNT(RA), GETRECORDCOUNT(RB), \" \"\n"
                u"PRINT CLOSEDB(A), \" \", OPENDB(\"Provider=SQLite;Data Source=a.db\"), \" \"\n"
                u"RA = OPENRECORDSET(0, \"SELECT x FROM t\")\n"
                u"APPENDRECORD(RA)\nSETFIELDDATA(RA, 0, \"7\")\nPOSTRECORD(RA)\n"
                u"NEW\n"),
            "1-11 -1 0 ");
  // NEW closed every connection and record set.
  EXPECT_EQ(Run(u"PRINT GETRECORDCOUNT(0), GETRECORDCOUNT(1), CLOSEDB(0), CLOSEDB(1)\n"), "-1-1-1-1");

  // The interpreter's end closes everything; the posted rows stay.
  EXPECT_EQ(Run(u"DIM D, R\nD = OPENDB(\"Provider=SQLite;Data Source=a.db\")\n"
                u"R = OPENRECORDSET(D, \"SELECT x FROM t\")\n"
                u"APPENDRECORD(R)\nSETFIELDDATA(R, 0, \"8\")\nPOSTRECORD(R)\n"),
            "");
  Start();
  EXPECT_EQ(Run(P(u"SHOW(OPENRECORDSET(OPENDB(\"Provider=SQLite;Data Source=a.db\"), "
                  u"\"SELECT x FROM t ORDER BY x\"))\n")),
            "5|;7|;8|;");
}

// A move, or a new APPENDRECORD, after APPENDRECORD or EDITRECORD with no
// field written drops the record; with a field written it posts it; an
// explicit POSTRECORD inserts even an untouched new record.
TEST_F(DatabaseTest, AMoveOffAnUntouchedNewRecordWritesNothing) {
  EXPECT_EQ(Run(u"SUB ROWS(DB, SQL) {\n DIM C\n C = OPENRECORDSET(DB, SQL)\n PRINT \"[\", GETFIELDDATA(C, 0), \"] \"\n"
                u" CLOSERECORDSET(C)\n}\n"
                u"DIM DB, RS, E, T, S\nT = \"SELECT COUNT(*) FROM t\"\nS = \"SELECT COUNT(*) FROM s\"\n"
                u"DB = OPENDB(\"Provider=SQLite;Data Source=moves.db\")\n"
                u"COMMANDDB(DB, \"CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT)\")\n"
                u"COMMANDDB(DB, \"CREATE TABLE s (name TEXT NOT NULL)\")\n"
                u"COMMANDDB(DB, \"INSERT INTO t (name) VALUES ('a'), ('b')\")\n"
                u"RS = OPENRECORDSET(DB, \"SELECT id, name FROM t ORDER BY id\")\nNEXTRECORD(RS)\n"
                // The cancelled record leaves the cursor where it was; the move goes on from there.
                u"APPENDRECORD(RS)\nPRINT NEXTRECORD(RS), GETRECORDNO(RS), GETRECORDEOF(RS), \" \"\nROWS(DB, T)\n"
                u"APPENDRECORD(RS)\nPRINT FIRSTRECORD(RS), GETRECORDNO(RS), GETFIELDDATA(RS, 1), \" \"\nROWS(DB, T)\n"
                u"APPENDRECORD(RS)\nPRINT LASTRECORD(RS), GETRECORDNO(RS), \" \"\nROWS(DB, T)\n"
                u"APPENDRECORD(RS)\nPRINT PRIORRECORD(RS), GETRECORDNO(RS), \" \"\nROWS(DB, T)\n"
                u"APPENDRECORD(RS)\nPRINT SETRECORDNO(RS, 1), GETRECORDCOUNT(RS), \" \"\nROWS(DB, T)\n"
                u"APPENDRECORD(RS)\nAPPENDRECORD(RS)\nPRINT GETRECORDNO(RS), \" \"\nFIRSTRECORD(RS)\nROWS(DB, T)\n"
                // Browsing again: there is nothing to post.
                u"PRINT POSTRECORD(RS), GETRECORDCOUNT(RS), \" \"\n"
                // A table whose column may not be NULL: no failed insert either.
                u"E = OPENRECORDSET(DB, \"SELECT name FROM s\")\n"
                u"EDITRECORD(E)\nPRINT NEXTRECORD(E), GETRECORDCOUNT(E), \" \"\nROWS(DB, S)\n"
                u"APPENDRECORD(E)\nPRINT FIRSTRECORD(E), GETRECORDCOUNT(E), \" \"\nROWS(DB, S)\n"
                // A field written: the move posts.
                u"APPENDRECORD(E)\nSETFIELDDATA(E, 0, \"x\")\nPRINT NEXTRECORD(E), GETRECORDCOUNT(E), \" \"\nROWS(DB, S)\n"
                u"EDITRECORD(E)\nSETFIELDDATA(E, 0, \"y\")\nAPPENDRECORD(E)\nPRINT PRIORRECORD(E), GETFIELDDATA(E, 0), \" \"\n"
                u"ROWS(DB, \"SELECT name FROM s\")\n"
                // An explicit post of an untouched new record inserts its defaults.
                u"APPENDRECORD(RS)\nPRINT POSTRECORD(RS), GETRECORDCOUNT(RS), GETFIELDDATA(RS, 0), \"[\", "
                u"GETFIELDDATA(RS, 1), \"] \"\nROWS(DB, T)\n"
                u"APPENDRECORD(E)\nPRINT POSTRECORD(E), GETRECORDCOUNT(E), \" \"\nROWS(DB, S)\n"),
            "021 [2] 01a [2] 02 [2] 01 [2] 02 [2] 3 [2] 30162 "
            "00 [0] 00 [0] 01 [1] 0y [y] 033[] [3] 30161 [1] ");
  EXPECT_EQ(Errors(),
            "The record set is not being edited or appended / "
            "The new record could not be posted: NOT NULL constraint failed: s.name");
}

TEST_F(DatabaseTest, SlotTablesAreLimited) {
  EXPECT_EQ(Run(u"DIM I\nFOR (I = 0, I < 10, I = I + 1) { OPENDB(\"Provider=SQLite;Data Source=:memory:\") }\n"
                u"PRINT OPENDB(\"Provider=SQLite;Data Source=:memory:\"), \" \"\n"
                u"FOR (I = 0, I < 10, I = I + 1) { OPENRECORDSET(0, \"SELECT 1\")\n OPENRECORDSET(1, \"SELECT 1\") }\n"
                u"PRINT OPENRECORDSET(5, \"SELECT 1\"), \" \", CLOSEDB(1), \" \", OPENRECORDSET(5, \"SELECT 1\")\n"),
            "-1 -1 1 1");
}

TEST_F(DatabaseTest, PasswordNeverShows) {
  EXPECT_EQ(Run(u"DIM DB\nDB = OPENDB(\"Provider=SQLite;Data Source=:memory:;Password=hunter2\")\n"
                u"PRINT COMMANDDB(DB, \"SELECT * FROM hunter2\")\n"),
            "3021");
  EXPECT_EQ(Errors(), "no such table: ****");
}

TEST_F(DatabaseTest, NoSqlIsBuiltFromFieldValues) {
  // Values that would break or change a statement made by joining texts.
  EXPECT_EQ(Run(P(u"DIM DB, RS\nDB = OPENDB(\"Provider=SQLite;Data Source=q.db\")\n"
                  u"COMMANDDB(DB, \"CREATE TABLE [odd \\\"name] (k TEXT PRIMARY KEY, [v'x] TEXT)\")\n"
                  u"RS = OPENRECORDSET(DB, \"SELECT * FROM [odd \\\"name]\")\n"
                  u"APPENDRECORD(RS)\nSETFIELDDATA(RS, 0, \"a'); DROP TABLE x; --\")\n"
                  u"SETFIELDDATA(RS, 1, \"\\\"q\\\"\")\nPOSTRECORD(RS)\n"
                  u"EDITRECORD(RS)\nSETFIELDDATA(RS, 1, \"it's\")\nPRINT POSTRECORD(RS), \" \"\n"
                  u"SHOW(OPENRECORDSET(DB, \"SELECT * FROM [odd \\\"name]\"))\n"
                  // An expression named like a column is not written back.
                  u"RS = OPENRECORDSET(DB, \"SELECT k, upper([v'x]) AS [v'x] FROM [odd \\\"name]\")\n"
                  u"EDITRECORD(RS)\nPRINT SETFIELDDATA(RS, 1, \"no\"), SETFIELDDATA(RS, 0, \"k\"), POSTRECORD(RS)\n"
                  u"SHOW(OPENRECORDSET(DB, \"SELECT * FROM [odd \\\"name]\"))\n")),
            "0 a'); DROP TABLE x; --|it's|;302000k|it's|;");
  EXPECT_EQ(Errors(), "Field v'x is not a column of table odd \"name and cannot be changed");
}

TEST_F(DatabaseTest, LoneSurrogatesNeitherSwallowTheNextCharacterNorChangeTheStatement) {
  // A half of a surrogate pair on its own must not join the character after
  // it: in a statement that would eat the closing quote, in a value the
  // next character.
  EXPECT_EQ(Run(u"DIM DB, RS, L\nL = CHR(55296)\nDB = OPENDB(\"Provider=SQLite;Data Source=s.db\")\n"
                u"COMMANDDB(DB, \"CREATE TABLE s (id INTEGER PRIMARY KEY, v TEXT)\")\n"
                u"PRINT COMMANDDB(DB, \"INSERT INTO s (v) VALUES ('\" + L + \"')\"), \" \"\n"
                u"RS = OPENRECORDSET(DB, \"SELECT * FROM s\")\nAPPENDRECORD(RS)\n"
                u"SETFIELDDATA(RS, 1, \"x\" + L + \"y\")\nPRINT POSTRECORD(RS), \" \"\n"
                u"RS = OPENRECORDSET(DB, \"SELECT length(v), unicode(substr(v, 2, 1)), substr(v, 3) FROM s ORDER BY id\")\n"
                u"PRINT GETFIELDDATA(RS, 0), \"|\"\nNEXTRECORD(RS)\n"
                u"PRINT GETFIELDDATA(RS, 0), \"|\", GETFIELDDATA(RS, 1), \"|\", GETFIELDDATA(RS, 2)\n"),
            "1 0 1|3|65533|y");
  EXPECT_EQ(Errors(), "");
}

TEST_F(DatabaseTest, AStatementRefusedByTheDriverSaysWhy) {
  // SQLite itself had no error to tell: the driver's own reason is shown.
  EXPECT_EQ(Run(u"DIM DB\nDB = OPENDB(\"Provider=SQLite;Data Source=m.db\")\n"
                u"COMMANDDB(DB, \"CREATE TABLE t (x INTEGER)\")\n"
                u"PRINT COMMANDDB(DB, \"INSERT INTO t VALUES (1); DROP TABLE t\"), \" \"\n"
                u"PRINT OPENRECORDSET(DB, \"SELECT * FROM t\")\n"),
            "3021 0");
  EXPECT_EQ(Errors(), "Unable to execute multiple statements at a time");
}

}  // namespace
}  // namespace vell::test
