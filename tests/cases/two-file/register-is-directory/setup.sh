mkdir bemenet.txt
