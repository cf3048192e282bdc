# Copies data/ into the program folder. The settings file is copied only when the
# program folder has none yet: it holds the user's own settings once the program
# has run, and a rebuild must not bring the first-run prompt back or lose them.
#   cmake -DSOURCE=<data folder> -DDEST=<program folder> -P copydata.cmake
file(COPY ${SOURCE}/ DESTINATION ${DEST}
     PATTERN CMakeLists.txt EXCLUDE
     PATTERN copydata.cmake EXCLUDE
     PATTERN glyph.ini EXCLUDE)
if(NOT EXISTS ${DEST}/glyph.ini)
  file(COPY ${SOURCE}/glyph.ini DESTINATION ${DEST})
endif()
