ln -s bemenet.txt bemenet.txt
