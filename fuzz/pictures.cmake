# Fuzz targets of the icon and bitmap readers.
