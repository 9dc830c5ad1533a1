# Fails when a catalogue misses a translation of a text in the window's
# sources, or keeps one of a text the sources no longer have (lupdate run on
# a copy of each catalogue, and what it marked read back), or when a
# Japanese text is written outside tr().
# Given: LUPDATE, SOURCE_DIR, INCLUDE_DIR, CATALOGUES (a list), WORK_DIR.
file(MAKE_DIRECTORY ${WORK_DIR})
set(Faults "")
foreach(Catalogue IN LISTS CATALOGUES)
  get_filename_component(Name ${Catalogue} NAME)
  set(Copy ${WORK_DIR}/${Name})
  configure_file(${Catalogue} ${Copy} COPYONLY)
  execute_process(
    COMMAND ${LUPDATE} -silent -locations none -I ${INCLUDE_DIR} ${SOURCE_DIR} -extensions cpp,h,ui -ts ${Copy}
    RESULT_VARIABLE Status OUTPUT_VARIABLE Output ERROR_VARIABLE Output)
  if(NOT Status EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${Name}:\n${Output}")
  endif()
  file(READ ${Copy} Text)
  # One message per match: its source and what lupdate marked it.
  string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<[^/][^>]*>[^<]*</[a-z]+>[^<]*)*<translation type=\"(unfinished|vanished|obsolete)\""
         Marked "${Text}")
  foreach(Message IN LISTS Marked)
    string(REGEX REPLACE "^<source>([^<]*)</source>.*type=\"([a-z]+)\"$" "  \\2: \\1" Line "${Message}")
    string(APPEND Faults "${Name}${Line}\n")
  endforeach()
endforeach()
# A text in another script outside tr() would stay Japanese in an English
# window: only names that are not words (the designed font's) may be.
file(GLOB Sources ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
foreach(Source IN LISTS Sources)
  file(STRINGS ${Source} Literals ENCODING UTF-8 REGEX "QStringLiteral\\(\"[^\"]*[^\t -~\"]")
  foreach(Literal IN LISTS Literals)
    if(NOT Literal MATCHES "ＭＳ Ｐゴシック|\" — \"")
      get_filename_component(Name ${Source} NAME)
      string(STRIP "${Literal}" Literal)
      string(APPEND Faults "${Name} outside tr(): ${Literal}\n")
    endif()
  endforeach()
endforeach()

if(Faults)
  message(FATAL_ERROR "Texts of the window without their translation (unfinished or outside tr()), or "
                      "translations of texts that are gone (vanished, obsolete); wrap them in tr(), run the "
                      "target redivev_catalogue_update, then translate or drop them:\n${Faults}")
endif()
