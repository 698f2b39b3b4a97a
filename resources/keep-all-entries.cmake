# Copies the catalogue IN to OUT with the "vanished"/"obsolete" marks removed, so that
# lrelease compiles every entry of the catalogue. Run by resources/CMakeLists.txt.
file(READ ${IN} content)
string(REPLACE " type=\"vanished\"" "" content "${content}")
string(REPLACE " type=\"obsolete\"" "" content "${content}")
file(WRITE ${OUT} "${content}")
