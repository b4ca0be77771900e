# A census text that links to itself and an update list that is a socket: both are there but
# cannot be opened, and each is read as empty, with a warning.
ln -s be.txt be.txt && python3 -c 'import socket; socket.socket(socket.AF_UNIX).bind("frissites.txt")'
