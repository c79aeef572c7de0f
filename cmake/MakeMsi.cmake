# Builds the Windows Installer package with wixl; run by the avo_msi target as
#   cmake -DWIXL=… -DPYTHON3=… -DSOURCE_DIR=… -DSTAGE=… -DEXECUTABLE=… -DOUTPUT=…
#         -DVERSION=… -DPRODUCT_CODE=… -DUPGRADE_CODE=… -DEPOCH=… -DWIXL_OPTIONS=… -P MakeMsi.cmake
# wixl reads the files named in the .wxs from its own folder, so they are staged side by
# side; it takes their dates into the cabinet, so the copies carry the fixed date.
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")
file(COPY "${EXECUTABLE}" "${SOURCE_DIR}/app/avodevivu.ico" "${SOURCE_DIR}/packaging/avodevivu.wxs"
     DESTINATION "${STAGE}")

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
endfunction()

run(touch -d "@${EPOCH}" avodevivu.exe avodevivu.ico)
run("${WIXL}" ${WIXL_OPTIONS} -D "Version=${VERSION}" -D "ProductCode=${PRODUCT_CODE}"
    -D "UpgradeCode=${UPGRADE_CODE}"
    -o avodevivu.msi avodevivu.wxs)
# wixl's package code and dates change with every run: give them fixed values.
run("${PYTHON3}" "${SOURCE_DIR}/tools/msi_summary.py" avodevivu.msi
    "${UPGRADE_CODE}" "${VERSION}" "${EPOCH}" avodevivu.exe)
file(RENAME "${STAGE}/avodevivu.msi" "${OUTPUT}")
