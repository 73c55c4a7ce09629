# Stages the data files beside the executable. Program.cpm and DM.cpm are the
# user's once they exist: a rebuild never overwrites a saved program or saved
# data words. The click and the help page always follow the sources.
file(MAKE_DIRECTORY ${CEL}/Pomoc)

if(NOT EXISTS ${CEL}/Program.cpm)
    file(WRITE ${CEL}/Program.cpm "")
endif()
if(NOT EXISTS ${CEL}/DM.cpm)
    string(REPEAT "0\r\n" 255 zera)
    file(WRITE ${CEL}/DM.cpm "${zera}")
endif()

file(COPY_FILE ${DANE}/Klik.wav ${CEL}/Klik.wav ONLY_IF_DIFFERENT)

file(COPY ${DANE}/Pomoc/ DESTINATION ${CEL}/Pomoc)
