# Creates empty q1.txt..q7.txt in DIR, never touching a file that exists.
foreach(n RANGE 1 7)
  if(NOT EXISTS "${DIR}/q${n}.txt")
    file(WRITE "${DIR}/q${n}.txt" "")
  endif()
endforeach()
