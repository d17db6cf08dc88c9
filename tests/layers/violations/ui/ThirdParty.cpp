// A third-party header above the platform layer.
#include <tesseract/baseapi.h>
#include <QWidget>
#include <vector>
