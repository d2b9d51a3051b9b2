// shuffle
