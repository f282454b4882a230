# Turns every file of a folder into a byte array compiled into the program.
# Each file "name.ext" becomes `rc::assets::name_ext` (a std::span of bytes),
# declared in the generated header "assets/embedded.h".
function(embed_assets target dir)
  file(GLOB asset_files CONFIGURE_DEPENDS ${dir}/*.png ${dir}/*.cur)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/generated)
  set(header ${out_dir}/assets/embedded.h)
  set(source ${out_dir}/assets/embedded.cpp)
  add_custom_command(
    OUTPUT ${header} ${source}
    COMMAND ${CMAKE_COMMAND} -DOUT_HEADER=${header} -DOUT_SOURCE=${source}
            "-DFILES=${asset_files}" -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/EmbedAssetsRun.cmake
    DEPENDS ${asset_files} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/EmbedAssetsRun.cmake
    COMMENT "Embedding assets"
    VERBATIM)
  add_library(${target} STATIC ${source})
  target_include_directories(${target} PUBLIC ${out_dir})
endfunction()
