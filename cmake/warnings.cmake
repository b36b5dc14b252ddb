# Warnings are errors for every target of ours; third-party code is built without them.
function(vyx_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-missing-field-initializers)
endfunction()
