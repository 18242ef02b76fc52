// A copy's home and profile become its own: the source's name as a whole
// path element, and %USERNAME% wherever it stands, give way to the copy's
// name; anything that merely contains the name stays as it was.

#include <gtest/gtest.h>

#include "users/copy_record.h"

namespace {

struct PathRow {
  const char* path;
  const char* renamed;
};

TEST(CopyPaths, TheSourcesNameAsAnElementAndUserNameVariablesBecomeTheCopys) {
  const PathRow rows[] = {
      {"\\\\LABFS\\users\\jsmith", "\\\\LABFS\\users\\newname"},
      {"\\\\LABFS\\users\\JSmith\\profile", "\\\\LABFS\\users\\newname\\profile"},
      {"\\\\LABFS\\jsmithfiles\\x", "\\\\LABFS\\jsmithfiles\\x"},
      {"\\\\LABFS\\profiles\\jsmith.man", "\\\\LABFS\\profiles\\jsmith.man"},
      {"\\\\LABFS\\x\\ajsmith\\jsmith2", "\\\\LABFS\\x\\ajsmith\\jsmith2"},
      {"C:/home/jsmith/", "C:/home/newname/"},
      {"jsmith", "newname"},
      {"\\\\jsmith\\jsmith\\jsmith", "\\\\newname\\newname\\newname"},
      {"\\\\LABFS\\profiles\\%USERNAME%", "\\\\LABFS\\profiles\\newname"},
      {"\\\\LABFS\\p\\%username%.v2\\%UserName%%USERNAME%",
       "\\\\LABFS\\p\\newname.v2\\newnamenewname"},
      {"\\\\LABFS\\p\\%USERNAME\\USERNAME%", "\\\\LABFS\\p\\%USERNAME\\USERNAME%"},
      {"H:", "H:"},
      {"", ""},
      {"\\\\", "\\\\"},
  };
  for (const PathRow& row : rows)
    EXPECT_EQ(users::renamedPath(row.path, "jsmith", "newname"), row.renamed) << row.path;
  // Only A to Z fold: other letters must match as they are.
  EXPECT_EQ(users::renamedPath("\\\\FS\\home\\J\xC3\xB6rg", "j\xC3\xB6rg", "ann"),
            "\\\\FS\\home\\ann");
  EXPECT_EQ(users::renamedPath("\\\\FS\\home\\j\xC3\xB6rg", "j\xC3\x96rg", "ann"),
            "\\\\FS\\home\\j\xC3\xB6rg");
}

}  // namespace
