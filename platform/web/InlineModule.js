// The offline page's module is base64 inside its own script. Emscripten's way to it would
// fetch that data: address, which the page's policy refuses, or decode and compile it on the
// main thread. Here the browser's own decoder turns it into bytes where it has one, and the
// module compiles off the main thread while the page goes on; the program starts when it is
// ready.
Module['instantiateWasm'] = function(imports, receiveInstance) {
  var text = wasmBinaryFile.slice(dataURIPrefix.length);
  var bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(text) : intArrayFromBase64(text);
  WebAssembly.instantiate(bytes, imports).then(function(result) {
    receiveInstance(result.instance, result.module);
  }, function(error) {
    abort('the program\'s module did not compile: ' + error);
  });
  return {};
};
