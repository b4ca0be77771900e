ln -s real.txt bemenet.txt
