// EdLibrary.h — the start and the end of the editor library as a whole.
//
// The library's shared state (the global option objects, the shared
// registry object, the class registries and the class parameter registry)
// is made on first use; what has to happen at the end of the program —
// saving the option objects, then freeing everything in a fixed order —
// cannot be left to static destruction, whose order across files is
// unknown and which would save nothing. The application makes one
// TEditorLibrary in main, before the first editor and outliving the last:
//
//   int main(int argc, char** argv) {
//     TEditorLibrary EditorLibrary;
//     ...
//   }
//
// The list of watched objects of the free notifications is not part of
// this: it is the first thing the library needs and the last it lets go, so
// it lives until static destruction.
#pragma once

// The library's start: installs its class-registration hooks where the
// class library's are empty and registers its file-system classes with the
// class library. Calling it again does nothing more.
void InitEditorLibrary();

// The library's end, in this order: every global option object is saved
// (one that fails does not keep the others from saving; the failures are
// dropped, as there is no one left to tell) and freed, the shared registry
// object is freed, the library's registration hooks are removed, then the
// class items, the popup, edit-source and edit
// class collections, and the class parameter registry with every key
// mapping, named command and option class registered on it. Never throws;
// a second call finds nothing left to do. Asked for again afterwards, the
// shared objects start anew, empty; registrations made once at start-up by
// other units are not repeated, so this belongs at the end of the program.
void DoneEditorLibrary();

// Starts the library when made, ends it when destroyed.
class TEditorLibrary {
public:
  TEditorLibrary() { InitEditorLibrary(); }
  ~TEditorLibrary() { DoneEditorLibrary(); }
  TEditorLibrary(const TEditorLibrary&) = delete;
  TEditorLibrary& operator=(const TEditorLibrary&) = delete;
};
