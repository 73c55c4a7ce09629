# Stages the data files beside the executable. Program.cpm and DM.cpm are the
# user's once they exist: a rebuild never overwrites a saved program or saved
# data words. The click and the help page always follow the sources.
include(${DANE}/DaneDomyslne.cmake)
parvolen_dane_domyslne(${CEL})

file(COPY_FILE ${DANE}/Klik.wav ${CEL}/Klik.wav ONLY_IF_DIFFERENT)

file(MAKE_DIRECTORY ${CEL}/Pomoc)
file(COPY ${DANE}/Pomoc/ DESTINATION ${CEL}/Pomoc)
