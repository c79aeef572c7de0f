# Writes the page from page.html.in: the style sheet (and the embedded fonts where there are
# any) inline, and the script either inline (SCRIPT_FILE: one file that works offline) or
# referred to by name (SCRIPT_NAME: the page for a web host, beside its script and module).
file(READ "${TEMPLATE}" page)
file(READ "${STYLE}" style)
set(fonts "")
if(FONTS AND EXISTS "${FONTS}")
  file(READ "${FONTS}" fonts)
endif()
set(network "connect-src 'self'; script-src 'self' 'wasm-unsafe-eval'")
set(preload "")
if(SCRIPT_FILE)
  file(READ "${SCRIPT_FILE}" script)
  # The script must not end its own element early.
  string(REPLACE "</script" "<\\/script" script "${script}")
  set(script "<script>\n${script}\n</script>")
  set(network "connect-src 'none'; script-src 'unsafe-inline' 'wasm-unsafe-eval'")
else()
  set(script "<script src=\"${SCRIPT_NAME}\"></script>")
  # The script and its module are asked for before the style sheet and the page are read, so
  # that the module compiles while the page is still coming in.
  string(REGEX REPLACE "\\.js$" ".wasm" module_name "${SCRIPT_NAME}")
  set(preload "<link rel=\"preload\" href=\"${SCRIPT_NAME}\" as=\"script\">
<link rel=\"preload\" href=\"${module_name}\" as=\"fetch\" type=\"application/wasm\" crossorigin>")
endif()
# The conformance suite's page reads the document with small scripts of its own.
if(TEST_PAGE)
  string(REPLACE "script-src 'self'" "script-src 'self' 'unsafe-eval'" network "${network}")
endif()
# Nothing from the network: the page's own script, inline style, its pictures as blobs and
# its fonts as data. The site launch is a new tab, which no policy of this page governs.
set(policy "default-src 'none'; ${network}; img-src blob: data:; style-src 'unsafe-inline'; font-src data:; base-uri 'none'; form-action 'none'")
string(REPLACE "@AVO_PAGE_POLICY@" "${policy}" page "${page}")
string(REPLACE "@AVO_PAGE_PRELOAD@" "${preload}" page "${page}")
string(REPLACE "@AVO_PAGE_FONTS@" "${fonts}" page "${page}")
string(REPLACE "@AVO_PAGE_STYLE@" "${style}" page "${page}")
string(REPLACE "@AVO_PAGE_SCRIPT@" "${script}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
