# The data files a new data directory starts with: an empty program and 255
# data words of 0, both with CR LF line ends. A file that already exists is
# the user's and is left as it is.
function(parvolen_dane_domyslne katalog)
    file(MAKE_DIRECTORY ${katalog})
    if(NOT EXISTS ${katalog}/Program.cpm)
        file(WRITE ${katalog}/Program.cpm "")
    endif()
    if(NOT EXISTS ${katalog}/DM.cpm)
        string(REPEAT "0\r\n" 255 zera)
        file(WRITE ${katalog}/DM.cpm "${zera}")
    endif()
endfunction()
