src/store/CMakeFiles/store.dir/Sonda.cpp.o: \
 /work/src/store/Sonda.cpp /qt6/QtCore/QString \
 /qt6/QtWidgets/QWidget /qt6/QtCore/qglobal.h
