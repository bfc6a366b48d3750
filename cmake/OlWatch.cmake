# OLWATCH.DLL (filled in below)
